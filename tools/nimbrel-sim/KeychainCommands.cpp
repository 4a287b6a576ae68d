#include "KeychainCommands.h"

#include <optional>
#include <string>
#include <vector>

#include "CommandFamily.h"
#include "Console.h"
#include "Values.h"
#include "platform/sim/SimDesktop.h"
#include "protection/KeychainStorage.h"

namespace nimbrel::console {
namespace {

using sim::SimDesktop;

// The item the program keeps its password record in. Its service follows the bundle identifier
// of the running program; between runs it is the one every run of the program uses.
KeychainQuery programItem(SimDesktop& desktop) {
    std::optional<std::string> bundle;
    if (auto program = desktop.programApp()) {
        if (const sim::SimApp* app = desktop.appState(*program)) {
            bundle = app->bundleID;
        }
    }
    return KeychainQuery{KeychainStorage::serviceFor(bundle), KeychainStorage::kAccount};
}

void keychainShow(SimDesktop& desktop, CommandContext& c) {
    c.expectArgs(1, 1);
    c.console().print(desktop.keychain().describe(programItem(desktop)));
}

void keychainDelete(SimDesktop& desktop, CommandContext& c) {
    c.expectArgs(1, 1);
    if (!desktop.keychain().deleteItem(programItem(desktop))) {
        c.fail("the keychain holds no password item of the program");
    }
}

void keychainRefuse(SimDesktop& desktop, CommandContext& c) {
    c.expectArgs(2, 2);
    desktop.keychain().setRefusing(c.onOff(1));
}

constexpr Verb<SimDesktop> kKeychainVerbs[] = {
    {"show", keychainShow},
    {"delete", keychainDelete},
    {"refuse", keychainRefuse},
};

// The same item as fields, so that `expect keychain present=no` can check it.
std::vector<std::string> keychainQuery(SimDesktop& desktop, CommandContext& c) {
    c.expectArgs(0, 0);
    auto item = desktop.keychain().find(programItem(desktop));
    if (!item) {
        return {"keychain present=no"};
    }
    return {"keychain present=yes service=" + item->service + " account=" + item->account +
            " label=" + quotedText(item->label) + " data=" + quotedText(item->data)};
}

constexpr Query<SimDesktop> kKeychainQueries[] = {{"keychain", keychainQuery}};

}  // namespace

void registerKeychainCommands(Console& console, SimDesktop& desktop) {
    console.addCommand("keychain", commandFamily(desktop, kKeychainVerbs));
    addQueries(console, desktop, kKeychainQueries);
}

}  // namespace nimbrel::console
