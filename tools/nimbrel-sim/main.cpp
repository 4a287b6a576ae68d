#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "AuthCommands.h"
#include "Console.h"
#include "DefaultsCommands.h"
#include "DesktopCommands.h"
#include "DesktopQueries.h"
#include "EventExpectations.h"
#include "KeyCommands.h"
#include "KeychainCommands.h"
#include "MenuCommands.h"
#include "PanelQueries.h"
#include "ProgramCommands.h"
#include "ProgramHost.h"
#include "UnavailableCommands.h"
#include "platform/sim/SimDesktop.h"

// nimbrel-sim [FILE...]: runs each file in turn on one desktop; "-" reads standard input at that
// point; with no argument it reads standard input. Exit status: 2 after an error, else 1 after a
// failed expectation, else 0.
int main(int argc, char** argv) {
    using namespace nimbrel;
    sim::SimDesktop desktop;
    console::Console console(desktop, std::cout);
    console::registerDesktopCommands(console, desktop);
    console::registerDesktopQueries(console, desktop);
    console::registerDefaultsCommands(console, desktop);
    console::registerEventExpectations(console);
    console::registerUnavailableCommands(console);
    console::registerKeyCommands(console, desktop);
    console::registerAuthCommands(console, desktop);
    console::registerKeychainCommands(console, desktop);
    console::registerPanelQueries(console, desktop);
    // Declared after the console and the desktop, so the program ends before either goes away.
    console::ProgramHost program(desktop);
    console::registerProgramCommands(console, desktop, program);
    console::registerMenuCommands(console, program);

    std::vector<std::string> sources(argv + 1, argv + argc);
    if (sources.empty()) {
        sources.push_back("-");
    }
    console.setShowsSourceNames(sources.size() > 1);
    for (const auto& source : sources) {
        if (source == "-") {
            console.run(std::cin, "-");
            continue;
        }
        std::ifstream file(source);
        if (!file) {
            console.reportError(source, "cannot open the file");
            continue;
        }
        console.run(file, source);
    }
    std::cout << std::flush;
    return console.exitStatus();
}
