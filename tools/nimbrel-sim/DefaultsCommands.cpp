#include "DefaultsCommands.h"

#include <set>
#include <string>

#include "Console.h"
#include "Values.h"
#include "platform/StoredJson.h"
#include "platform/sim/SimDesktop.h"

namespace nimbrel::console {
namespace {

// The program keeps these documents as data (JSON bytes), not as property-list values.
bool isDocumentKey(const std::string& key) {
    static const std::set<std::string> documents{"settings.v1", "resume.v1", "attempts.v1"};
    return documents.count(key) != 0;
}

}  // namespace

void registerDefaultsCommands(Console& console, sim::SimDesktop& desktop) {
    // `defaults set KEY JSON`: a document key stores the text as data exactly as written (so a
    // script can plant a damaged document); any other key needs valid JSON and stores the value.
    console.addCommand("defaults set", [&desktop](CommandContext& c) {
        const std::string& key = c.arg(0);
        std::string json = c.rest(1);
        if (isDocumentKey(key)) {
            desktop.defaults().setData(key, json);
            return;
        }
        auto value = parseStoredJson(json);
        if (!value) {
            c.fail("not JSON, or nested too deep: " + json);
        }
        desktop.defaults().setValue(key, *value);
    });
    // Stores the rest of the line as data under any key.
    console.addCommand("defaults set-data", [&desktop](CommandContext& c) {
        desktop.defaults().setData(c.arg(0), c.rest(1));
    });
    console.addCommand("defaults delete", [&desktop](CommandContext& c) {
        c.expectArgs(1, 1);
        desktop.defaults().remove(c.arg(0));
    });
    // While on, the defaults database drops writes and answers every read as absent.
    console.addCommand("defaults fail", [&desktop](CommandContext& c) {
        c.expectArgs(1, 1);
        desktop.defaults().setFailing(c.onOff(0));
    });

    console.addQuery("defaults", [&desktop](CommandContext& c) -> std::vector<std::string> {
        c.expectArgs(1, 1);
        return {desktop.defaults().describe(c.arg(0)).value_or("none")};
    });
    console.addExpectation("defaults", [&desktop](CommandContext& c) {
        if (!c.has(1) || c.arg(1) != "contains") {
            c.fail("expected: expect defaults KEY contains TEXT");
        }
        std::string text = c.rest(2);
        auto stored = desktop.defaults().describe(c.arg(0));
        bool holds = stored && stored->find(text) != std::string::npos;
        return Console::Verdict{holds, stored.value_or("none")};
    });
}

}  // namespace nimbrel::console
