#include "CommandContext.h"

#include "Console.h"
#include "ConsoleError.h"
#include "Values.h"

namespace nimbrel::console {

const std::string& CommandContext::arg(std::size_t i) const {
    if (!has(i)) {
        fail("missing argument for " + name_);
    }
    return line_.words[first_ + i].text;
}

std::string CommandContext::rest(std::size_t i) const {
    if (!has(i)) {
        fail("missing argument for " + name_);
    }
    return line_.rest(first_ + i);
}

void CommandContext::fail(const std::string& message) const {
    throw ConsoleError(message);
}

void CommandContext::expectArgs(std::size_t min, std::size_t max) const {
    if (size() < min) {
        fail("missing argument for " + name_);
    }
    if (size() > max) {
        fail("too many arguments for " + name_ + ": " + arg(max));
    }
}

long long CommandContext::integer(std::size_t i) const {
    return parseInteger(arg(i));
}
double CommandContext::number(std::size_t i) const {
    return parseNumber(arg(i));
}

Pid CommandContext::pid(std::size_t i) const {
    long long value = integer(i);
    if (value <= 0 || value > 0x7FFFFFFF) {
        fail("not a pid: " + arg(i));
    }
    return static_cast<Pid>(value);
}

Point CommandContext::point(std::size_t i) const {
    return parsePoint(arg(i));
}
Size CommandContext::size2(std::size_t i) const {
    return parseSize(arg(i));
}
Rect CommandContext::rect(std::size_t i) const {
    return parseRect(arg(i));
}
bool CommandContext::onOff(std::size_t i) const {
    return parseOnOff(arg(i));
}

ElementRef CommandContext::window(std::size_t i) const {
    auto element = console_.names().element(arg(i));
    if (!element) {
        fail("unknown window " + arg(i));
    }
    return *element;
}

std::map<std::string, std::string> CommandContext::options(
    std::size_t from, const std::set<std::string>& allowed) const {
    std::map<std::string, std::string> result;
    for (std::size_t i = from; i < size(); ++i) {
        const std::string& word = arg(i);
        auto equals = word.find('=');
        if (equals == std::string::npos) {
            fail("unexpected argument " + word);
        }
        std::string key = word.substr(0, equals);
        if (allowed.count(key) == 0) {
            fail("unknown option " + key);
        }
        result[key] = word.substr(equals + 1);
    }
    return result;
}

}  // namespace nimbrel::console
