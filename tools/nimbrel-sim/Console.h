#pragma once

#include <functional>
#include <iosfwd>
#include <map>
#include <string>
#include <vector>

#include "CommandContext.h"
#include "WindowNames.h"
#include "platform/sim/SimDesktop.h"

namespace nimbrel::console {

// The console's interpreter: reads lines, runs each command on the desktop, turns the run loop
// after every command, prints event lines as they happen and keeps the exit status.
//
// Commands, queries and expectations come from registries, so each service adds its own without
// touching the interpreter. A name may be one word ("win") or several ("key press"); the longest
// registered name that matches the line's first words wins, and registering a name again
// replaces the earlier handler (a real command replaces a placeholder).
class Console {
  public:
    using CommandHandler = std::function<void(CommandContext&)>;
    // The lines `show NAME ARGS...` prints. The fields (key=value) of the first line also answer
    // `expect NAME ARGS... FIELD=VALUE...`; the arguments are the words before the first one
    // that contains '='.
    using QueryHandler = std::function<std::vector<std::string>(CommandContext&)>;
    // An `expect NAME ...` form of its own (event, defaults, panel, menu...). `actual` is what the
    // FAIL line reports after "got:".
    struct Verdict {
        bool holds = true;
        std::string actual;
    };
    using ExpectHandler = std::function<Verdict(CommandContext&)>;

    Console(sim::SimDesktop& desktop, std::ostream& out);
    ~Console();
    Console(const Console&) = delete;
    Console& operator=(const Console&) = delete;

    void addCommand(const std::string& name, CommandHandler handler);
    void addQuery(const std::string& name, QueryHandler handler);
    void addExpectation(const std::string& name, ExpectHandler handler);

    sim::SimDesktop& desktop() { return desktop_; }
    WindowNames& names() { return names_; }
    // The event lines printed since the previous block of consecutive expect lines (or the start).
    const std::vector<std::string>& recentEvents() const { return recent_; }
    // A line of output (show lines and the like).
    void print(const std::string& line);

    // Runs every line of the stream; `source` names it in messages when several sources run.
    void run(std::istream& in, const std::string& source);
    // Runs one line (tests and tools); `lineNumber` is what messages show.
    void runLine(const std::string& raw, int lineNumber);
    // With several sources, messages say FILE:LINE instead of LINE.
    void setShowsSourceNames(bool shown) { showsSources_ = shown; }
    // An error that belongs to no line (a file that cannot be opened).
    void reportError(const std::string& where, const std::string& message);

    int errorCount() const { return errors_; }
    int failureCount() const { return failures_; }
    // 2 after any error, else 1 after any failed expectation, else 0.
    int exitStatus() const { return errors_ > 0 ? 2 : failures_ > 0 ? 1 : 0; }

  private:
    template <typename Handler>
    struct Match {
        const Handler* handler = nullptr;
        std::size_t words = 0;
        std::string name;
    };
    template <typename Handler>
    static Match<Handler> lookup(const std::map<std::string, Handler>& registry,
                                 const LexedLine& line, std::size_t from);

    void execute(const LexedLine& line);
    void show(const LexedLine& line);
    void expect(const LexedLine& line);
    std::string where() const;

    sim::SimDesktop& desktop_;
    std::ostream& out_;
    WindowNames names_;
    std::map<std::string, CommandHandler> commands_;
    std::map<std::string, QueryHandler> queries_;
    std::map<std::string, ExpectHandler> expectations_;

    std::vector<std::string> recent_;
    bool lastWasExpect_ = false;
    std::string source_;
    int lineNumber_ = 0;
    bool showsSources_ = false;
    int errors_ = 0;
    int failures_ = 0;
};

}  // namespace nimbrel::console
