#include "Values.h"

#include <charconv>
#include <cmath>

#include "ConsoleError.h"

namespace nimbrel::console {

std::string formatNumber(double value) {
    if (value == 0) {
        return "0";  // also for -0
    }
    if (std::abs(value) < 1e15 && value == std::trunc(value)) {
        return std::to_string(static_cast<long long>(value));
    }
    char buffer[64];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return ec == std::errc() ? std::string(buffer, end) : std::string("nan");
}

std::string formatPoint(Point p) {
    return formatNumber(p.x) + "," + formatNumber(p.y);
}

std::string formatRect(const Rect& r) {
    return formatNumber(r.x) + "," + formatNumber(r.y) + "," + formatNumber(r.width) + "," +
           formatNumber(r.height);
}

std::string quotedText(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
        }
        out += c;
    }
    return out + "\"";
}

std::string formatList(const std::vector<std::string>& items) {
    std::string out = "[";
    for (std::size_t i = 0; i < items.size(); ++i) {
        out += (i == 0 ? "" : " ") + items[i];
    }
    return out + "]";
}

double parseNumber(std::string_view text) {
    double value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size() ||
        !std::isfinite(value)) {
        throw ConsoleError("not a number: " + std::string(text));
    }
    return value;
}

long long parseInteger(std::string_view text) {
    long long value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size()) {
        throw ConsoleError("not a whole number: " + std::string(text));
    }
    return value;
}

namespace {

std::vector<double> parseNumbers(std::string_view text, std::size_t count, const char* shape) {
    std::vector<double> values;
    std::size_t start = 0;
    while (true) {
        std::size_t comma = text.find(',', start);
        std::string_view part =
            text.substr(start, comma == std::string_view::npos ? comma : comma - start);
        try {
            values.push_back(parseNumber(part));
        } catch (const ConsoleError&) {
            throw ConsoleError("expected " + std::string(shape) + ", got " + std::string(text));
        }
        if (comma == std::string_view::npos) {
            break;
        }
        start = comma + 1;
    }
    if (values.size() != count) {
        throw ConsoleError("expected " + std::string(shape) + ", got " + std::string(text));
    }
    return values;
}

}  // namespace

Point parsePoint(std::string_view text) {
    auto v = parseNumbers(text, 2, "x,y");
    return {v[0], v[1]};
}

Size parseSize(std::string_view text) {
    auto v = parseNumbers(text, 2, "w,h");
    if (v[0] < 0 || v[1] < 0) {
        throw ConsoleError("a size cannot be negative: " + std::string(text));
    }
    return {v[0], v[1]};
}

Rect parseRect(std::string_view text) {
    auto v = parseNumbers(text, 4, "x,y,w,h");
    if (v[2] < 0 || v[3] < 0) {
        throw ConsoleError("a size cannot be negative: " + std::string(text));
    }
    return {v[0], v[1], v[2], v[3]};
}

bool parseOnOff(std::string_view text) {
    if (text == "on") {
        return true;
    }
    if (text == "off") {
        return false;
    }
    throw ConsoleError("expected on or off, got " + std::string(text));
}

std::vector<std::pair<std::string, std::string>> parseFields(std::string_view line) {
    std::vector<std::pair<std::string, std::string>> fields;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && line[i] == ' ') {
            ++i;
        }
        std::string token;
        bool sawEquals = false;
        std::string key;
        while (i < line.size() && line[i] != ' ') {
            char c = line[i];
            if (c == '=' && !sawEquals) {
                sawEquals = true;
                key = token;
                token.clear();
                ++i;
            } else if (c == '"') {
                ++i;
                while (i < line.size() && line[i] != '"') {
                    if (line[i] == '\\' && i + 1 < line.size()) {
                        ++i;
                    }
                    token += line[i++];
                }
                ++i;
            } else if (c == '[') {
                int depth = 0;
                while (i < line.size()) {
                    char d = line[i++];
                    token += d;
                    if (d == '[') {
                        ++depth;
                    } else if (d == ']' && --depth == 0) {
                        break;
                    }
                }
            } else {
                token += c;
                ++i;
            }
        }
        if (sawEquals) {
            fields.emplace_back(key, token);
        }
    }
    return fields;
}

}  // namespace nimbrel::console
