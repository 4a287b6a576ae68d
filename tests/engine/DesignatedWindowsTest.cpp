#include <algorithm>
#include <ostream>
#include <utility>

#include "EngineFixture.h"

namespace nimbrel {
namespace {

Uuid bindingId(std::uint8_t n) {
    Uuid id;
    id.bytes.fill(n);
    return id;
}

WindowBinding notesBinding(const std::string& title, std::optional<WindowNumber> number) {
    WindowBinding b;
    b.id = bindingId(7);
    b.bundleID = "com.example.notes";
    b.appName = "Notes";
    b.title = title;
    b.windowNumber = number;
    return b;
}

class DesignatedWindowsTest : public EngineFixture {
  protected:
    DesignatedWindowsTest() {
        callbacks_.onWindowNumberChanged = [this](const Uuid& id, WindowNumber number) {
            reports_.emplace_back(id, number);
            if (afterReport_) {
                afterReport_();
            }
        };
        engine();
    }

    std::vector<std::pair<Uuid, WindowNumber>> reports_;
    std::function<void()> afterReport_;
};

struct Shown {
    const char* title;
    WindowNumber number;  // 0: the window reports none
};

struct MatchCase {
    const char* name;
    std::vector<Shown> windows;  // opened in this order
    const char* bindingTitle;
    std::optional<WindowNumber> bindingNumber;
    std::optional<std::size_t> designatedIndex;  // designated before matching
    bool closeDesignated;
    std::optional<std::size_t> expected;  // index of the window found; none when nothing matches
    std::optional<WindowNumber> reported;
};

void PrintTo(const MatchCase& c, std::ostream* os) {
    *os << c.name;
}

class BindingMatch : public DesignatedWindowsTest, public testing::WithParamInterface<MatchCase> {};

TEST_P(BindingMatch, FirstRuleThatFindsAWindowWins) {
    const MatchCase& c = GetParam();
    std::vector<ElementRef> opened;
    for (const auto& shown : c.windows) {
        opened.push_back(open(kNotes, shown.title, {100, 100, 600, 400}, shown.number));
    }
    WindowBinding binding = notesBinding(c.bindingTitle, c.bindingNumber);
    if (c.designatedIndex) {
        engine().designate(opened[*c.designatedIndex], binding.id);
        if (c.closeDesignated) {
            desk_.closeWindow(opened[*c.designatedIndex]);
        }
    }

    auto found = engine().windows(binding);

    if (!c.expected) {
        EXPECT_TRUE(found.empty());
    } else {
        ASSERT_EQ(found.size(), 1u);
        EXPECT_EQ(found[0].element, opened[*c.expected]);
        EXPECT_EQ(found[0].title, c.windows[*c.expected].title);
        EXPECT_EQ(engine().designations().designated().at(binding.id), opened[*c.expected]);
        EXPECT_EQ(engine().bindingID(opened[*c.expected]), binding.id);
    }
    if (c.reported) {
        ASSERT_EQ(reports_.size(), 1u);
        EXPECT_EQ(reports_[0], std::make_pair(binding.id, *c.reported));
    } else {
        EXPECT_TRUE(reports_.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rules, BindingMatch,
    testing::Values(
        // The designated window was renamed and renumbered; an impostor took its old identity.
        MatchCase{"designatedElementWins",
                  {{"Renamed", 9999}, {"Bank", 4242}},
                  "Bank",
                  4242,
                  0,
                  false,
                  0,
                  std::nullopt},
        MatchCase{"closedDesignationFallsThrough",
                  {{"Gone", 4000}, {"Bank", 4242}},
                  "Bank",
                  4242,
                  0,
                  true,
                  1,
                  std::nullopt},
        MatchCase{"numberBeatsTitle",
                  {{"Bank", 5000}, {"Draft", 4242}},
                  "Bank",
                  4242,
                  std::nullopt,
                  false,
                  1,
                  std::nullopt},
        MatchCase{"titleReportsNewNumber",
                  {{"Draft", 5000}, {"Bank", 5001}},
                  "Bank",
                  4242,
                  std::nullopt,
                  false,
                  1,
                  5001},
        MatchCase{"titleReportsNumberOfUnnumberedBinding",
                  {{"Draft", 5000}, {"Bank", 5001}},
                  "Bank",
                  std::nullopt,
                  std::nullopt,
                  false,
                  1,
                  5001},
        MatchCase{"titleWithoutReadableNumberReportsNothing",
                  {{"Bank", 0}, {"Draft", 5000}},
                  "Bank",
                  4242,
                  std::nullopt,
                  false,
                  0,
                  std::nullopt},
        MatchCase{
            "singleWindow", {{"Draft", 5000}}, "Bank", 4242, std::nullopt, false, 0, std::nullopt},
        MatchCase{"nothingMatches",
                  {{"Draft", 5000}, {"Todo", 5001}},
                  "Bank",
                  4242,
                  std::nullopt,
                  false,
                  std::nullopt,
                  std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DesignatedWindowsTest, AfterARelaunchTheTitleFindsTheWindowAndItsNewNumberIsReported) {
    ElementRef before = open(kNotes, "Bank", {100, 100, 600, 400}, 4242);
    WindowBinding binding = notesBinding("Bank", 4242);
    ASSERT_EQ(engine().windows(binding).size(), 1u);
    EXPECT_TRUE(reports_.empty());

    desk_.quitApp(kNotes);
    desk_.launchApp(kNotes, "Notes", std::string("com.example.notes"));
    open(kNotes, "Draft", {100, 100, 600, 400}, 7001);
    ElementRef after = open(kNotes, "Bank", {100, 100, 600, 400}, 7002);
    open(kNotes, "Todo", {100, 100, 600, 400}, 7003);

    auto found = engine().windows(binding);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].element, after);
    EXPECT_EQ(found[0].app, app(kNotes));
    EXPECT_NE(after, before);
    ASSERT_EQ(reports_.size(), 1u);
    EXPECT_EQ(reports_[0], std::make_pair(binding.id, WindowNumber{7002}));
    EXPECT_FALSE(engine().bindingID(before));
    EXPECT_EQ(engine().bindingID(after), binding.id);
}

TEST_F(DesignatedWindowsTest, WholeAppBindingListsEveryStandardWindowOfEveryMatchingInstance) {
    ElementRef first = open(kNotes, "One");
    ElementRef second = open(kNotes, "Two");
    open(kNotes, "Sheet", {100, 100, 300, 200}, std::nullopt, "AXSheet");
    open(kMail, "Inbox");
    desk_.launchApp(503, "Notes", std::string("com.example.notes"));
    ElementRef third = open(503, "Three");

    WindowBinding binding = notesBinding("", std::nullopt);
    binding.wholeApp = true;
    engine().designate(first, binding.id);
    auto found = engine().windows(binding);

    std::vector<ElementRef> elements;
    for (const auto& w : found) {
        elements.push_back(w.element);
    }
    EXPECT_EQ(elements, (std::vector<ElementRef>{second, first, third}));
    EXPECT_TRUE(reports_.empty());
}

TEST_F(DesignatedWindowsTest, AppWithoutBundleIdentifierIsMatchedByName) {
    desk_.launchApp(504, "Scratch");
    ElementRef pad = open(504, "Pad");
    WindowBinding binding = notesBinding("Pad", std::nullopt);
    binding.bundleID.reset();
    binding.appName = "Scratch";
    auto found = engine().windows(binding);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].element, pad);

    binding.appName = "Notes";
    EXPECT_TRUE(engine().windows(binding).empty()) << "Notes has a bundle identifier";
}

TEST_F(DesignatedWindowsTest, NumberReportThatReplacesTheCallersBindingIsSafe) {
    open(kNotes, "Draft", {100, 100, 600, 400}, 5000);
    ElementRef bank = open(kNotes, "Bank", {100, 100, 600, 400}, 5001);
    open(kMail, "Inbox");
    // The shell stores the new number in its bindings, which may give the list new storage.
    auto bindings = std::make_unique<std::vector<WindowBinding>>(
        std::vector<WindowBinding>{notesBinding("Bank", 4242)});
    afterReport_ = [&] { bindings.reset(); };
    auto found = engine().windows(bindings->front());
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].element, bank);
    EXPECT_EQ(reports_.size(), 1u);
}

}  // namespace
}  // namespace nimbrel
