#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/sim/SimMenuText.h"

namespace nimbrel::sim {
namespace {

MenuItem titled(std::string title) {
    MenuItem item;
    item.title = std::move(title);
    return item;
}

// A submenu that counts its openings, so a test sees that every look builds it afresh.
struct CountedSubmenu {
    int openings = 0;
    MenuItem parent(std::string title) {
        MenuItem item = titled(std::move(title));
        item.submenu = [this] {
            ++openings;
            return Menu{{titled("Leaf " + std::to_string(openings))}};
        };
        return item;
    }
};

TEST(SimMenuText, MarksComeInTheirOrderAndSubmenusFollowTheirItemIndented) {
    MenuItem marked = titled("All");
    marked.enabled = false;
    marked.checked = true;
    marked.keyEquivalent =
        MenuKeyEquivalent{"x", MenuKeyEquivalent::kCommand | MenuKeyEquivalent::kShift |
                                   MenuKeyEquivalent::kOption | MenuKeyEquivalent::kControl};
    marked.indentation = 2;
    CountedSubmenu sub;
    Menu menu{{marked, MenuItem::separator(), sub.parent("More"), titled("Last")}};
    EXPECT_EQ(describeMenu(menu), (std::vector<std::string>{"All [disabled] [checked] [key=⌃⌥⇧⌘x] "
                                                            "[indent=2]",
                                                            "---", "More", "  Leaf 1", "Last"}));
    EXPECT_EQ(describeMenu(menu)[3], "  Leaf 2") << "each look opens the submenu again";
}

TEST(SimMenuText, FindingFollowsTitlesIntoSubmenusAndSaysWhereItStopped) {
    CountedSubmenu sub;
    Menu menu{{titled("Plain"), MenuItem::separator(), sub.parent("More")}};
    std::string why;
    auto leaf = findMenuItem(menu, {"More", "Leaf 1"}, why);
    ASSERT_TRUE(leaf);
    EXPECT_EQ(leaf->title, "Leaf 1");
    EXPECT_EQ(sub.openings, 1);

    EXPECT_FALSE(findMenuItem(menu, {"More", "Leaf 1"}, why)) << "the second opening differs";
    EXPECT_EQ(why, "no menu item \"Leaf 1\"");
    EXPECT_FALSE(findMenuItem(menu, {"Plain", "Any"}, why));
    EXPECT_EQ(why, "\"Plain\" has no submenu");
    EXPECT_FALSE(findMenuItem(menu, {""}, why)) << "a separator has no title to choose";
}

}  // namespace
}  // namespace nimbrel::sim
