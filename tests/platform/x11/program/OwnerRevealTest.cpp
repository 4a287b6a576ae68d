// Revealing a locked window through the real program: the owner's dialog comes up on the hold of
// the designated-windows shortcut, is typed into as the user would, and PAM (its test wrapper,
// with a service folder of the test's) decides.
#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <nlohmann/json.hpp>

#include "../PamServices.h"
#include "../PrivateFolder.h"
#include "../display/TestClient.h"
#include "RunningProgram.h"
#include "platform/x11/ClientWindows.h"
#include "platform/x11/X11Screens.h"

namespace nimbrel::test {
namespace {

using namespace std::chrono_literals;

constexpr const char* kDesignatedShortcut = "ctrl+super+e";
constexpr auto kRevealHold = 1600ms;  // longer than the default hold of one second
constexpr const char* kOwnerDialogTitle = "Nimbrel: confirm it is you";

// The variables only for the program's process: the test's own tools run without the wrapper.
class PamEnvironmentForChild {
  public:
    explicit PamEnvironmentForChild(const PamServices& services) {
        std::string asan = std::getenv("ASAN_OPTIONS") ? std::getenv("ASAN_OPTIONS") : "";
        set("LD_PRELOAD", NIMBREL_PAM_WRAPPER);
        set("PAM_WRAPPER", "1");
        set("PAM_WRAPPER_SERVICE_DIR", services.folder().string());
        set("PAM_WRAPPER_DISABLE_DEEPBIND", "1");
        set("UID_WRAPPER_DISABLE_DEEPBIND", "1");  // the name the wrapper 1.1.4 reads
        // A sanitized program would refuse to start with a library preloaded ahead of it.
        set("ASAN_OPTIONS", asan + (asan.empty() ? "" : ":") + "verify_asan_link_order=0");
    }
    ~PamEnvironmentForChild() {
        for (const auto& [name, before] : saved_) {
            before ? ::setenv(name.c_str(), before->c_str(), 1) : ::unsetenv(name.c_str());
        }
    }
    PamEnvironmentForChild(const PamEnvironmentForChild&) = delete;
    PamEnvironmentForChild& operator=(const PamEnvironmentForChild&) = delete;

  private:
    void set(const std::string& name, const std::string& value) {
        const char* before = std::getenv(name.c_str());
        saved_.emplace_back(name, before ? std::optional<std::string>(before) : std::nullopt);
        ::setenv(name.c_str(), value.c_str(), 1);
    }
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

class OwnerRevealTest : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(client.connected());
        if (windowManagerClamps()) {
            GTEST_SKIP() << "the reveal is the same under every window manager";
        }
        nlohmann::json diary = {{"id", "00000000-0000-0000-0000-000000000002"},
                                {"bundleID", "Editor"},
                                {"appName", "Editor"},
                                {"title", "Diary"},
                                {"locked", true},
                                {"wholeApp", false},
                                {"keepWhenMissing", true}};
        nlohmann::json settings = {{"bindings", nlohmann::json::array({diary})}};
        program.writeDefaults(
            nlohmann::json({{"settings.v1", {{"text", settings.dump()}}}}).dump());
        TestClient::Window wanted;
        wanted.title = "Diary";
        wanted.area = Rect(500, 160, 500, 340);
        diaryWindow = client.open(wanted);
        ASSERT_TRUE(managed(client.connection(), diaryWindow));
        diaryFrame = windows.read(diaryWindow)->frame;
        // Where the focus goes back to when the dialog closes. Were it the locked window, the
        // program would take its coming forward after a refusal as a new request to see it.
        wanted.title = "Notes";
        wanted.area = Rect(60, 80, 400, 300);
        xcb_window_t notes = client.open(wanted);
        ASSERT_TRUE(managed(client.connection(), notes));
        windows.activate(notes);
        ASSERT_TRUE(eventually([&] { return windows.active() == notes; }));
        PamEnvironmentForChild environment(services);
        ASSERT_TRUE(program.start()) << program.log();
    }

    bool eventually(const std::function<bool()>& done) {
        return test::eventually(client.connection(), done);
    }
    bool diaryParked() {
        auto window = windows.read(diaryWindow);
        return window && !window->iconic && !screens.layout().showsOnAnyMonitor(window->frame) &&
               window->hasState("_NET_WM_STATE_SKIP_TASKBAR");
    }
    bool diaryBack() {
        auto window = windows.read(diaryWindow);
        return window && window->frame == diaryFrame &&
               !window->hasState("_NET_WM_STATE_SKIP_TASKBAR");
    }
    xcb_window_t ownerDialog() {
        for (xcb_window_t w : windows.list()) {
            auto window = windows.read(w);
            if (window && window->title == kOwnerDialogTitle) {
                return w;
            }
        }
        return XCB_WINDOW_NONE;
    }
    // Holds the shortcut until the dialog is up and has the focus. While an earlier answer is
    // still on its way the program takes no new request, so a dialog that comes up also shows
    // that the answer before it has arrived.
    bool askToReveal() {
        for (int attempt = 0; attempt < 5; ++attempt) {
            holdKeys(kDesignatedShortcut, kRevealHold);
            if (eventually([&] {
                    xcb_window_t dialog = ownerDialog();
                    return dialog != XCB_WINDOW_NONE && windows.active() == dialog;
                })) {
                return true;
            }
        }
        return false;
    }
    bool dialogGone() {
        return eventually([&] { return ownerDialog() == XCB_WINDOW_NONE; });
    }
    void answer(const std::string& typed, const char* key) {
        [[maybe_unused]] int status =
            std::system(("xdotool type --delay 20 '" + typed + "'").c_str());
        typeKeys(key);
    }
    // The attempts log's reasons, oldest first; none while the program keeps no such log.
    std::optional<std::vector<std::string>> attemptReasons() {
        auto document = nlohmann::json::parse(fileText(program.configFolder() / "defaults.json"),
                                              nullptr, false);
        if (!document.is_object() || !document.contains("attempts.v1")) {
            return std::nullopt;
        }
        nlohmann::json attempts = document["attempts.v1"];
        if (attempts.is_object() && attempts.contains("text")) {
            attempts = nlohmann::json::parse(attempts["text"].get<std::string>(), nullptr, false);
        }
        std::vector<std::string> reasons;
        for (const auto& attempt : attempts) {
            reasons.push_back(attempt.value("reason", ""));
        }
        return reasons;
    }

    TestClient client;
    x11::ClientWindows windows{client.connection()};
    x11::X11Screens screens{client.connection()};
    PrivateFolder home;
    PamServices services{home / "pam"};
    RunningProgram program{home / "home"};
    xcb_window_t diaryWindow = XCB_WINDOW_NONE;
    Rect diaryFrame;
};

TEST_F(OwnerRevealTest, AWrongPasswordAndACancelKeepTheWindowLockedTheRightOneRevealsIt) {
    EXPECT_TRUE(program.waitForLog("owner authentication through PAM")) << program.log();
    typeKeys(kDesignatedShortcut);
    ASSERT_TRUE(eventually([&] { return diaryParked(); })) << program.log();

    ASSERT_TRUE(askToReveal()) << program.log();
    answer("not the password", "Return");
    ASSERT_TRUE(dialogGone());
    ASSERT_TRUE(askToReveal()) << program.log();
    EXPECT_TRUE(diaryParked());
    if (auto reasons = attemptReasons()) {
        EXPECT_EQ(*reasons, std::vector<std::string>{"authFailed"});
    }

    // Even with the right password typed, a cancel is a cancel.
    answer(PamServices::kPamPassword, "Escape");
    ASSERT_TRUE(dialogGone());
    ASSERT_TRUE(askToReveal()) << program.log();
    EXPECT_TRUE(diaryParked());

    if (const char* folder = std::getenv("NIMBREL_SCREENSHOTS")) {
        [[maybe_unused]] int status = std::system(
            (std::string(NIMBREL_X11_TOOL) + " screenshot " + folder + "/owner-reveal.png")
                .c_str());
    }
    // The dialog came up while the shortcut was still held: the right password alone reveals,
    // with nothing of the shortcut's keys typed into the field ahead of it.
    answer(PamServices::kPamPassword, "Return");
    EXPECT_TRUE(eventually([&] { return diaryBack(); })) << program.log();
    EXPECT_TRUE(dialogGone());
    EXPECT_TRUE(program.running());
}

}  // namespace
}  // namespace nimbrel::test
