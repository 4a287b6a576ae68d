#include "PanelQueries.h"

#include <string>
#include <vector>

#include "CommandFamily.h"
#include "Console.h"
#include "Values.h"
#include "platform/sim/SimDesktop.h"

namespace nimbrel::console {
namespace {

constexpr PanelKind kKinds[] = {PanelKind::hud,    PanelKind::cover,  PanelKind::flash,
                                PanelKind::border, PanelKind::region, PanelKind::selection};

PanelKind panelKind(const CommandContext& c, const std::string& name) {
    std::string names;
    for (PanelKind kind : kKinds) {
        if (sim::SimPanels::kindName(kind) == name) {
            return kind;
        }
        names += (names.empty() ? "" : ", ") + sim::SimPanels::kindName(kind);
    }
    c.fail("unknown panel kind " + name + " (one of: " + names + ")");
}

// `above` is the one field a panel line may leave out; a claim `above=none` asks for its absence.
constexpr const char* kOptionalField = "above";

Console::Verdict checkPanel(sim::SimPanels& panels, CommandContext& c) {
    if (!c.has(1)) {
        c.fail("expect panel " + c.arg(0) + " needs FIELD=VALUE");
    }
    PanelKind kind = panelKind(c, c.arg(0));
    std::vector<std::pair<std::string, std::string>> claims;
    for (std::size_t i = 1; i < c.size(); ++i) {
        const std::string& claim = c.arg(i);
        auto equals = claim.find('=');
        if (equals == std::string::npos) {
            c.fail("expected FIELD=VALUE, got " + claim);
        }
        std::string key = claim.substr(0, equals);
        // Checked before looking, so that a misspelt field is an error also when no panel shows.
        if (key != "frame" && key != "level" && key != "alpha" && key != kOptionalField) {
            c.fail("panel has no field " + key + " (frame, level, alpha, above)");
        }
        claims.emplace_back(std::move(key), claim.substr(equals + 1));
    }
    auto panel = panels.firstVisible(kind);
    if (!panel) {
        return {false, "no visible " + c.arg(0) + " panel"};
    }
    std::string line = panels.describe(*panel);
    auto fields = parseFields(line);
    bool holds = true;
    for (const auto& [key, value] : claims) {
        const std::string* actual = nullptr;
        for (const auto& [k, v] : fields) {
            if (k == key) {
                actual = &v;
            }
        }
        // Only `above` can be absent from the line.
        holds = holds && (actual != nullptr ? *actual == value : value == "none");
    }
    return {holds, line};
}

std::vector<std::string> panelsQuery(sim::SimPanels& panels, CommandContext& c) {
    c.expectArgs(0, 0);
    return panels.describeVisible();
}

constexpr Query<sim::SimPanels> kPanelQueries[] = {{"panels", panelsQuery}};

Console::Verdict checkNoPanel(sim::SimPanels& panels, CommandContext& c) {
    c.expectArgs(1, 1);
    auto panel = panels.firstVisible(panelKind(c, c.arg(0)));
    return Console::Verdict{!panel, panel ? panels.describe(*panel) : std::string()};
}

constexpr Expectation<sim::SimPanels> kPanelExpectations[] = {
    {"panel", checkPanel},
    {"no-panel", checkNoPanel},
};

}  // namespace

void registerPanelQueries(Console& console, sim::SimDesktop& desktop) {
    addQueries(console, desktop.panels(), kPanelQueries);
    addExpectations(console, desktop.panels(), kPanelExpectations);
}

}  // namespace nimbrel::console
