#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "LineLexer.h"
#include "platform/Geometry.h"
#include "platform/Handles.h"

namespace nimbrel::console {

class Console;

// What a command handler sees: the arguments after the command's own name, with helpers that
// read them or throw ConsoleError (which the console prints as "error: LINE: MESSAGE").
class CommandContext {
  public:
    // Arguments are the words [first, end) of the line.
    CommandContext(Console& console, const LexedLine& line, std::size_t first, std::size_t end,
                   std::string name)
        : console_(console), line_(line), first_(first), end_(end), name_(std::move(name)) {}

    Console& console() { return console_; }
    // The command's name as registered ("win", "key press").
    const std::string& name() const { return name_; }
    std::size_t size() const { return end_ - first_; }
    // The i-th argument; throws when missing.
    const std::string& arg(std::size_t i) const;
    bool has(std::size_t i) const { return i < size(); }
    // The raw rest of the line from argument i (for JSON and free texts); throws when missing.
    std::string rest(std::size_t i) const;
    const LexedLine& line() const { return line_; }

    [[noreturn]] void fail(const std::string& message) const;
    // Throws unless there are between min and max arguments.
    void expectArgs(std::size_t min, std::size_t max) const;

    long long integer(std::size_t i) const;
    double number(std::size_t i) const;
    Pid pid(std::size_t i) const;
    Point point(std::size_t i) const;
    Size size2(std::size_t i) const;
    Rect rect(std::size_t i) const;
    bool onOff(std::size_t i) const;
    // A window named by the script (or #NUMBER); throws for an unknown name.
    ElementRef window(std::size_t i) const;

    // The key=value arguments from index `from` on; throws on a word without '=' or a key that
    // is not among `allowed`.
    std::map<std::string, std::string> options(std::size_t from,
                                               const std::set<std::string>& allowed) const;

  private:
    Console& console_;
    const LexedLine& line_;
    std::size_t first_;
    std::size_t end_;
    std::string name_;
};

}  // namespace nimbrel::console
