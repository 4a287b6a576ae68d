#include "protection/LockoutText.h"

#include <cmath>
#include <memory>

#include <unicode/fieldpos.h>
#include <unicode/fmtable.h>
#include <unicode/locid.h>
#include <unicode/measfmt.h>
#include <unicode/measunit.h>
#include <unicode/measure.h>
#include <unicode/unistr.h>

namespace nimbrel {

std::string lockoutRemainingText(double secondsLeft, const std::string& locale) {
    // Rounded up so that the text never promises an end that has not come yet.
    double seconds = std::isfinite(secondsLeft) ? std::max(1.0, std::ceil(secondsLeft)) : 1.0;
    bool inMinutes = seconds >= 60;
    double amount = inMinutes ? std::ceil(seconds / 60) : seconds;

    UErrorCode status = U_ZERO_ERROR;
    icu::MeasureFormat format(icu::Locale(locale.c_str()), UMEASFMT_WIDTH_WIDE, status);
    std::unique_ptr<icu::MeasureUnit> unit(inMinutes ? icu::MeasureUnit::createMinute(status)
                                                     : icu::MeasureUnit::createSecond(status));
    if (U_FAILURE(status) || !unit) {
        return {};
    }
    icu::Measure measure(icu::Formattable(static_cast<int64_t>(amount)), unit.release(), status);
    icu::UnicodeString text;
    icu::FieldPosition position(icu::FieldPosition::DONT_CARE);
    format.formatMeasures(&measure, 1, text, position, status);
    if (U_FAILURE(status)) {
        return {};
    }
    std::string out;
    text.toUTF8String(out);
    return out;
}

}  // namespace nimbrel
