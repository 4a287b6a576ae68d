#pragma once

#include <functional>
#include <map>
#include <string>

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

}  // namespace nimbrel::console
