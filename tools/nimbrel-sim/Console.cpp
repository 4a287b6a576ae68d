#include "Console.h"

#include <istream>
#include <ostream>

#include "ConsoleError.h"
#include "Values.h"

namespace nimbrel::console {

Console::Console(sim::SimDesktop& desktop, std::ostream& out)
    : desktop_(desktop), out_(out), names_(desktop) {
    desktop_.events().setListener([this](const std::string& line) {
        out_ << "* " << line << '\n';
        recent_.push_back(line);
    });
}

Console::~Console() {
    desktop_.events().setListener(nullptr);
}

void Console::addCommand(const std::string& name, CommandHandler handler) {
    commands_[name] = std::move(handler);
}

void Console::addQuery(const std::string& name, QueryHandler handler) {
    queries_[name] = std::move(handler);
}

void Console::addExpectation(const std::string& name, ExpectHandler handler) {
    expectations_[name] = std::move(handler);
}

void Console::print(const std::string& line) {
    out_ << line << '\n';
}

void Console::reportError(const std::string& where, const std::string& message) {
    ++errors_;
    out_ << "error: " << where << ": " << message << '\n' << std::flush;
}

std::string Console::where() const {
    std::string number = std::to_string(lineNumber_);
    return showsSources_ ? source_ + ":" + number : number;
}

void Console::run(std::istream& in, const std::string& source) {
    source_ = source;
    std::string raw;
    int number = 0;
    while (std::getline(in, raw)) {
        runLine(raw, ++number);
    }
}

void Console::runLine(const std::string& raw, int lineNumber) {
    lineNumber_ = lineNumber;
    try {
        LexedLine line = lexLine(raw);
        if (!line.empty()) {
            bool isExpect = line.words[0].text == "expect";
            // A block of consecutive expect lines looks at the same events; the next command
            // starts a new stretch.
            if (!isExpect && lastWasExpect_) {
                recent_.clear();
            }
            lastWasExpect_ = isExpect;
            execute(line);
        }
    } catch (const ConsoleError& error) {
        ++errors_;
        out_ << "error: " << where() << ": " << error.what() << '\n';
    }
    // The run loop turns between commands as a real one turns between events.
    desktop_.runDue();
    out_ << std::flush;
}

template <typename Handler>
Console::Match<Handler> Console::lookup(const std::map<std::string, Handler>& registry,
                                        const LexedLine& line, std::size_t from) {
    constexpr std::size_t kLongestName = 3;
    for (std::size_t count = kLongestName; count >= 1; --count) {
        if (from + count > line.words.size()) {
            continue;
        }
        std::string name;
        for (std::size_t i = from; i < from + count; ++i) {
            name += (i == from ? "" : " ") + line.words[i].text;
        }
        if (auto it = registry.find(name); it != registry.end()) {
            return {&it->second, count, name};
        }
    }
    return {};
}

void Console::execute(const LexedLine& line) {
    const std::string& first = line.words[0].text;
    if (first == "show") {
        show(line);
        return;
    }
    if (first == "expect") {
        expect(line);
        return;
    }
    auto match = lookup(commands_, line, 0);
    if (match.handler == nullptr) {
        throw ConsoleError("unknown command " + first);
    }
    CommandContext context(*this, line, match.words, line.words.size(), match.name);
    (*match.handler)(context);
}

void Console::show(const LexedLine& line) {
    if (line.words.size() < 2) {
        throw ConsoleError("show what?");
    }
    auto match = lookup(queries_, line, 1);
    if (match.handler == nullptr) {
        throw ConsoleError("unknown query " + line.words[1].text);
    }
    CommandContext context(*this, line, 1 + match.words, line.words.size(), match.name);
    for (const auto& text : (*match.handler)(context)) {
        print(text);
    }
}

void Console::expect(const LexedLine& line) {
    if (line.words.size() < 2) {
        throw ConsoleError("expect what?");
    }
    Verdict verdict;
    if (auto own = lookup(expectations_, line, 1); own.handler != nullptr) {
        CommandContext context(*this, line, 1 + own.words, line.words.size(), own.name);
        verdict = (*own.handler)(context);
    } else {
        auto match = lookup(queries_, line, 1);
        if (match.handler == nullptr) {
            throw ConsoleError("unknown query " + line.words[1].text);
        }
        std::size_t firstClaim = 1 + match.words;
        while (firstClaim < line.words.size() &&
               line.words[firstClaim].text.find('=') == std::string::npos) {
            ++firstClaim;
        }
        if (firstClaim == line.words.size()) {
            throw ConsoleError("expect " + match.name + " needs FIELD=VALUE");
        }
        CommandContext context(*this, line, 1 + match.words, firstClaim, match.name);
        auto lines = (*match.handler)(context);
        std::string actual = lines.empty() ? std::string("nothing") : lines.front();
        auto fields = parseFields(lines.empty() ? std::string() : lines.front());
        for (std::size_t i = firstClaim; i < line.words.size(); ++i) {
            const std::string& claim = line.words[i].text;
            auto equals = claim.find('=');
            if (equals == std::string::npos) {
                throw ConsoleError("expected FIELD=VALUE, got " + claim);
            }
            std::string key = claim.substr(0, equals);
            std::string value = claim.substr(equals + 1);
            bool found = false;
            for (const auto& [k, v] : fields) {
                if (k == key) {
                    found = true;
                    verdict.holds = verdict.holds && v == value;
                }
            }
            if (!found) {
                throw ConsoleError(match.name + " has no field " + key);
            }
        }
        verdict.actual = actual;
    }
    if (!verdict.holds) {
        ++failures_;
        out_ << "FAIL " << where() << ": " << line.rest(1) << " — got: " << verdict.actual << '\n';
    }
}

}  // namespace nimbrel::console
