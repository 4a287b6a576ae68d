#include "platform/Localizer.h"

#include <cctype>

namespace nimbrel {
namespace {

std::string argText(const StringArg& arg) {
    if (const auto* s = std::get_if<std::string>(&arg)) {
        return *s;
    }
    return std::to_string(std::get<long long>(arg));
}

}  // namespace

std::string Localizer::text(StringKey key, const std::vector<StringArg>& args) const {
    if (table_ == nullptr) {
        std::string out = "{";
        out += key.name;
        for (const auto& arg : args) {
            out += '|';
            out += argText(arg);
        }
        out += '}';
        return out;
    }
    auto format = table_->format(key.name);
    if (!format) {
        // The platform's own convention for a missing text: the key shows through.
        return std::string(key.name);
    }
    return fill(*format, args);
}

std::string Localizer::fill(std::string_view format, const std::vector<StringArg>& args) {
    std::string out;
    std::size_t next = 0;
    for (std::size_t i = 0; i < format.size(); ++i) {
        char c = format[i];
        if (c != '%' || i + 1 >= format.size()) {
            out += c;
            continue;
        }
        std::size_t j = i + 1;
        if (format[j] == '%') {
            out += '%';
            i = j;
            continue;
        }
        // Optional position: digits followed by '$'.
        std::size_t position = 0;
        std::size_t k = j;
        while (k < format.size() && std::isdigit(static_cast<unsigned char>(format[k]))) {
            position = position * 10 + static_cast<std::size_t>(format[k] - '0');
            ++k;
        }
        bool positional = k < format.size() && format[k] == '$' && k > j;
        if (positional) {
            j = k + 1;
        }
        // Length modifiers are accepted and ignored: every integer argument is 64-bit here.
        while (j < format.size() && (format[j] == 'l' || format[j] == 'q' || format[j] == 'z')) {
            ++j;
        }
        if (j >= format.size()) {
            out.append(format.substr(i));
            break;
        }
        char conversion = format[j];
        if (conversion != '@' && conversion != 'd' && conversion != 'i' && conversion != 'u') {
            out.append(format.substr(i, j - i + 1));
            i = j;
            continue;
        }
        std::size_t index = positional ? position - 1 : next++;
        if (index < args.size()) {
            out += argText(args[index]);
        }
        i = j;
    }
    return out;
}

}  // namespace nimbrel
