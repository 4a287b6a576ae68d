#include "platform/x11/DesktopEntries.h"

#include <gtest/gtest.h>

#include "platform/x11/PrivateFolder.h"

namespace nimbrel::test {
namespace {

using x11::DesktopEntries;

TEST(DesktopEntriesTest, AnApplicationIsFoundByItsWindowClassInTheMostImportantFolder) {
    PrivateFolder folder;
    auto user = folder / "user";
    auto system = folder / "system";
    writeText(user / "applications" / "org.example.Editor.desktop",
              "[Desktop Entry]\nName=My Editor\n");
    writeText(system / "applications" / "org.example.Editor.desktop",
              "[Desktop Entry]\nName=Text Editor\nStartupWMClass=Editor\n");
    writeText(system / "applications" / "calc.desktop",
              "# A comment\n[Desktop Entry]\r\nName=Calculator\r\nStartupWMClass=GNOME-calc\r\n"
              "[Desktop Action New]\nName=Not the name\n");
    writeText(system / "applications" / "kde4" / "kate.desktop", "[Desktop Entry]\nName=Kate\n");
    writeText(system / "applications" / "gone.desktop",
              "[Desktop Entry]\nName=Gone\nHidden=true\n");
    writeText(system / "applications" / "notes.txt", "[Desktop Entry]\nName=Notes\n");
    DesktopEntries entries({user, system});

    struct Case {
        const char* instance;
        const char* className;
        const char* id;  // none expected when null
        const char* name;
    };
    const Case cases[] = {
        // The user's own entry hides the system's one of the same id (and its window class).
        {"editor", "Editor", "org.example.Editor", "My Editor"},
        {"gnome-calculator", "gnome-CALC", "calc", "Calculator"},
        {"kde4-kate", "Kate", "kde4-kate", "Kate"},
        {"gone", "Gone", nullptr, nullptr},
        {"notes", "Notes", nullptr, nullptr},
        {"", "", nullptr, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.className);
        auto entry = entries.find(c.instance, c.className);
        if (c.id == nullptr) {
            EXPECT_FALSE(entry.has_value());
            continue;
        }
        ASSERT_TRUE(entry.has_value());
        EXPECT_EQ(entry->id, c.id);
        EXPECT_EQ(entry->name, c.name);
    }
}

}  // namespace
}  // namespace nimbrel::test
