#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "Console.h"

namespace nimbrel::console {

// A command whose first argument picks a sub-command (`auth next`, `keychain show`); each
// sub-command checks its own arguments. A missing or unknown sub-command is an error that lists
// the known ones.
using SubCommand = std::function<void(CommandContext&)>;

inline Console::CommandHandler commandFamily(std::map<std::string, SubCommand> subs) {
    return [subs = std::move(subs)](CommandContext& c) {
        std::string names;
        for (const auto& [name, sub] : subs) {
            names += (names.empty() ? "" : ", ") + name;
        }
        if (!c.has(0)) {
            c.fail(c.name() + " needs one of: " + names);
        }
        auto it = subs.find(c.arg(0));
        if (it == subs.end()) {
            c.fail("unknown command " + c.name() + " " + c.arg(0) + " (one of: " + names + ")");
        }
        it->second(c);
    };
}

// Rows of the flat tables the command files keep: a name and the plain function that runs it on
// the service the file drives (the simulated desktop, one of its parts, the program's host).
template <typename Service>
struct Verb {
    const char* name;
    void (*run)(Service&, CommandContext&);
};

template <typename Service>
struct Query {
    const char* name;
    std::vector<std::string> (*run)(Service&, CommandContext&);
};

template <typename Service>
struct Expectation {
    const char* name;
    Console::Verdict (*run)(Service&, CommandContext&);
};

template <typename Service, std::size_t N>
Console::CommandHandler commandFamily(Service& service, const Verb<Service> (&verbs)[N]) {
    std::map<std::string, SubCommand> subs;
    for (const auto& verb : verbs) {
        subs.emplace(verb.name, [&service, run = verb.run](CommandContext& c) { run(service, c); });
    }
    return commandFamily(std::move(subs));
}

template <typename Service, std::size_t N>
void addCommands(Console& console, Service& service, const Verb<Service> (&verbs)[N]) {
    for (const auto& verb : verbs) {
        console.addCommand(verb.name,
                           [&service, run = verb.run](CommandContext& c) { run(service, c); });
    }
}

template <typename Service, std::size_t N>
void addQueries(Console& console, Service& service, const Query<Service> (&queries)[N]) {
    for (const auto& query : queries) {
        console.addQuery(
            query.name, [&service, run = query.run](CommandContext& c) { return run(service, c); });
    }
}

template <typename Service, std::size_t N>
void addExpectations(Console& console, Service& service,
                     const Expectation<Service> (&expectations)[N]) {
    for (const auto& expectation : expectations) {
        console.addExpectation(
            expectation.name,
            [&service, run = expectation.run](CommandContext& c) { return run(service, c); });
    }
}

}  // namespace nimbrel::console
