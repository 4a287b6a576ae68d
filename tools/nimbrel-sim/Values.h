#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/Geometry.h"

namespace nimbrel::console {

// How the console writes values: numbers in their shortest form (100, 99.5), points x,y,
// rectangles x,y,w,h, texts in double quotes with \" and \\ escaped, flags yes/no.
std::string formatNumber(double value);
std::string formatPoint(Point p);
std::string formatRect(const Rect& r);
std::string quotedText(std::string_view text);
inline std::string yesNo(bool value) {
    return value ? "yes" : "no";
}
// "[a b c]", "[]" when empty.
std::string formatList(const std::vector<std::string>& items);

// How it reads them; each throws ConsoleError naming what it expected.
double parseNumber(std::string_view text);
long long parseInteger(std::string_view text);
Point parsePoint(std::string_view text);
Size parseSize(std::string_view text);
Rect parseRect(std::string_view text);
bool parseOnOff(std::string_view text);

// The key=value fields of a show line, in order; quoted values lose their quotes.
std::vector<std::pair<std::string, std::string>> parseFields(std::string_view line);

}  // namespace nimbrel::console
