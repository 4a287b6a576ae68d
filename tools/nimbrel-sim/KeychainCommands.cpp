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

// The item the program keeps its password record in. Its service follows the bundle identifier
// of the running program; between runs it is the one every run of the program uses.
KeychainQuery programItem(sim::SimDesktop& desktop) {
    std::optional<std::string> bundle;
    if (auto program = desktop.programApp()) {
        if (const sim::SimApp* app = desktop.appState(*program)) {
            bundle = app->bundleID;
        }
    }
    return KeychainQuery{KeychainStorage::serviceFor(bundle), KeychainStorage::kAccount};
}

}  // namespace

void registerKeychainCommands(Console& console, sim::SimDesktop& desktop) {
    Console* con = &console;
    auto& keychain = desktop.keychain();
    console.addCommand("keychain",
                       commandFamily({
                           {"show",
                            [&desktop, &keychain, con](CommandContext& c) {
                                c.expectArgs(1, 1);
                                con->print(keychain.describe(programItem(desktop)));
                            }},
                           {"delete",
                            [&desktop, &keychain](CommandContext& c) {
                                c.expectArgs(1, 1);
                                if (!keychain.deleteItem(programItem(desktop))) {
                                    c.fail("the keychain holds no password item of the program");
                                }
                            }},
                           {"refuse",
                            [&keychain](CommandContext& c) {
                                c.expectArgs(2, 2);
                                keychain.setRefusing(c.onOff(1));
                            }},
                       }));
    // The same item as fields, so that `expect keychain present=no` can check it.
    console.addQuery("keychain", [&desktop, &keychain](CommandContext& c) {
        c.expectArgs(0, 0);
        auto item = keychain.find(programItem(desktop));
        if (!item) {
            return std::vector<std::string>{"keychain present=no"};
        }
        return std::vector<std::string>{
            "keychain present=yes service=" + item->service + " account=" + item->account +
            " label=" + quotedText(item->label) + " data=" + quotedText(item->data)};
    });
}

}  // namespace nimbrel::console
