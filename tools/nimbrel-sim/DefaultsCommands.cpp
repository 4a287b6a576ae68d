#include "DefaultsCommands.h"

#include <set>
#include <string>

#include "CommandFamily.h"
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

// `defaults set KEY JSON`: a document key stores the text as data exactly as written (so a
// script can plant a damaged document); any other key needs valid JSON and stores the value.
void defaultsSet(sim::SimUserDefaults& defaults, CommandContext& c) {
    const std::string& key = c.arg(0);
    std::string json = c.rest(1);
    if (isDocumentKey(key)) {
        defaults.setData(key, json);
        return;
    }
    auto value = parseStoredJson(json);
    if (!value) {
        c.fail("not JSON, or nested too deep: " + json);
    }
    defaults.setValue(key, *value);
}

// Stores the rest of the line as data under any key.
void defaultsSetData(sim::SimUserDefaults& defaults, CommandContext& c) {
    defaults.setData(c.arg(0), c.rest(1));
}

void defaultsDelete(sim::SimUserDefaults& defaults, CommandContext& c) {
    c.expectArgs(1, 1);
    defaults.remove(c.arg(0));
}

// While on, the defaults database drops writes and answers every read as absent.
void defaultsFail(sim::SimUserDefaults& defaults, CommandContext& c) {
    c.expectArgs(1, 1);
    defaults.setFailing(c.onOff(0));
}

std::vector<std::string> defaultsQuery(sim::SimUserDefaults& defaults, CommandContext& c) {
    c.expectArgs(1, 1);
    return {defaults.describe(c.arg(0)).value_or("none")};
}

Console::Verdict defaultsExpectation(sim::SimUserDefaults& defaults, CommandContext& c) {
    if (!c.has(1) || c.arg(1) != "contains") {
        c.fail("expected: expect defaults KEY contains TEXT");
    }
    std::string text = c.rest(2);
    auto stored = defaults.describe(c.arg(0));
    bool holds = stored && stored->find(text) != std::string::npos;
    return Console::Verdict{holds, stored.value_or("none")};
}

constexpr Verb<sim::SimUserDefaults> kDefaultsCommands[] = {
    {"defaults set", defaultsSet},
    {"defaults set-data", defaultsSetData},
    {"defaults delete", defaultsDelete},
    {"defaults fail", defaultsFail},
};

constexpr Query<sim::SimUserDefaults> kDefaultsQueries[] = {
    {"defaults", defaultsQuery},
};

constexpr Expectation<sim::SimUserDefaults> kDefaultsExpectations[] = {
    {"defaults", defaultsExpectation},
};

}  // namespace

void registerDefaultsCommands(Console& console, sim::SimDesktop& desktop) {
    addCommands(console, desktop.defaults(), kDefaultsCommands);
    addQueries(console, desktop.defaults(), kDefaultsQueries);
    addExpectations(console, desktop.defaults(), kDefaultsExpectations);
}

}  // namespace nimbrel::console
