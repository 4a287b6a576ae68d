#include "platform/x11/X11Workspace.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "platform/x11/PrivateFolder.h"
#include "platform/x11/X11WindowList.h"
#include "platform/x11/display/TestClient.h"

namespace nimbrel::test {
namespace {

using x11::Connection;
using x11::DesktopEntries;
using x11::X11Workspace;

// A process of its own for the windows a test opens in another application's name.
class ChildProcess {
  public:
    ChildProcess() {
        pid_ = ::fork();
        if (pid_ == 0) {
            ::execlp("sleep", "sleep", "60", static_cast<char*>(nullptr));
            ::_exit(127);
        }
    }
    ~ChildProcess() { end(); }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    Pid pid() const { return pid_; }
    void end() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
            pid_ = -1;
        }
    }

  private:
    Pid pid_ = -1;
};

class X11WorkspaceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        connection = Connection::open();
        ASSERT_NE(connection, nullptr) << "no X server at DISPLAY";
        ASSERT_TRUE(client.connected());
        writeText(folder / "applications" / "org.example.Editor.desktop",
                  "[Desktop Entry]\nName=Text Editor\nStartupWMClass=Editor\n");
        events.emplace(*connection);
    }

    X11Workspace& workspace() {
        if (!made) {
            screens.emplace(*connection);
            made.emplace(*connection, *events, *screens, DesktopEntries({folder / ""}));
        }
        return *made;
    }

    // Opens a window for `pid` and waits until the window manager lists it.
    xcb_window_t open(Pid pid, const std::string& className) {
        TestClient::Window wanted;
        wanted.pid = pid;
        wanted.className = className;
        wanted.instance = className;
        xcb_window_t w = client.open(wanted);
        EXPECT_TRUE(managed(*connection, w));
        return w;
    }

    bool until(const std::function<bool()>& done) {
        return eventually(*connection, [&] {
            events->drain();
            return done();
        });
    }

    PrivateFolder folder;
    std::unique_ptr<Connection> connection;
    TestClient client;
    std::optional<x11::EventHub> events;
    std::optional<x11::X11Screens> screens;
    std::optional<X11Workspace> made;
};

TEST_F(X11WorkspaceTest, ProcessesWithWindowsAreApplicationsNamedByTheirDesktopEntries) {
    ChildProcess editor;
    open(editor.pid(), "Editor");
    ChildProcess other;
    open(other.pid(), "Scratch");

    auto app = workspace().runningApplication(editor.pid());
    ASSERT_TRUE(app.has_value());
    EXPECT_EQ(workspace().processID(*app), editor.pid());
    EXPECT_EQ(workspace().localizedName(*app), "Text Editor");
    EXPECT_EQ(workspace().bundleIdentifier(*app), "org.example.Editor");
    auto unnamed = workspace().runningApplication(other.pid());
    ASSERT_TRUE(unnamed.has_value());
    EXPECT_EQ(workspace().localizedName(*unnamed), "Scratch");

    auto running = workspace().runningApplications();
    EXPECT_NE(std::find(running.begin(), running.end(), *app), running.end());
    EXPECT_TRUE(workspace().runningApplication(workspace().ownProcessID()).has_value());
    EXPECT_FALSE(workspace().isTerminated(*app));
}

TEST_F(X11WorkspaceTest, TheWindowListShowsWhatIsInSightFrontToBackWithItsOwner) {
    ChildProcess editor;
    xcb_window_t back = open(editor.pid(), "Editor");
    xcb_window_t front = open(editor.pid(), "Editor");
    x11::X11Screens screens(*connection);
    x11::X11WindowList list(*connection, screens, workspace());
    x11::ClientWindows windows(*connection);
    windows.activate(front);
    auto listed = [&] {
        std::vector<WindowNumber> numbers;
        for (const WindowInfo& info : list.onScreenWindows()) {
            if (info.ownerPID == editor.pid()) {
                numbers.push_back(info.number);
                EXPECT_EQ(info.ownerName, "Text Editor");
                EXPECT_EQ(info.layer, 0);
            }
        }
        return numbers;
    };
    ASSERT_TRUE(until([&] { return listed() == std::vector<WindowNumber>{front, back}; }));
    windows.iconify(front);
    EXPECT_TRUE(until([&] { return listed() == std::vector<WindowNumber>{back}; }));
}

TEST_F(X11WorkspaceTest, LaunchesActivationsAndEndsAreTold) {
    std::vector<AppRef> launched, activated, ended;
    auto a = workspace().observe(WorkspaceAppEvent::didLaunch,
                                 [&](AppRef app) { launched.push_back(app); });
    auto b = workspace().observe(WorkspaceAppEvent::didActivate,
                                 [&](AppRef app) { activated.push_back(app); });
    auto c = workspace().observe(WorkspaceAppEvent::didTerminate,
                                 [&](AppRef app) { ended.push_back(app); });

    auto editor = std::make_unique<ChildProcess>();
    xcb_window_t w = open(editor->pid(), "Editor");
    ASSERT_TRUE(until([&] { return !launched.empty(); }));
    AppRef app = launched.back();
    EXPECT_EQ(workspace().processID(app), editor->pid());

    // Asked before the manager has had its turn (the grab keeps it waiting): hidden all the
    // same, not taken for brought back.
    xcb_grab_server(connection->get());
    ASSERT_TRUE(workspace().hide(app));
    EXPECT_TRUE(workspace().isHidden(app));
    xcb_ungrab_server(connection->get());
    EXPECT_TRUE(until([&] { return workspace().isHidden(app); }));
    ASSERT_TRUE(workspace().unhide(app));
    EXPECT_TRUE(until([&] { return !workspace().isHidden(app); }));
    // Called back before the manager took it: the window comes back all the same. The manager
    // takes its time over an iconify (jwm a few hundred milliseconds, openbox animates it), so
    // the window must stay in sight for a good while, not just at first.
    ASSERT_TRUE(workspace().hide(app));
    ASSERT_TRUE(workspace().unhide(app));
    x11::ClientWindows windows(*connection);
    EXPECT_TRUE(until([&] {
        auto shown = windows.read(w);
        return shown && !shown->iconic;
    }));
    bool stayed = true;
    for (int i = 0; i < 100 && stayed; ++i) {
        auto shown = windows.read(w);
        stayed = shown && !shown->iconic;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_TRUE(stayed);
    EXPECT_FALSE(workspace().isHidden(app));
    ASSERT_TRUE(workspace().activate(app));
    EXPECT_TRUE(until([&] { return workspace().frontmostApplication() == app; }));
    EXPECT_TRUE(until([&] { return std::count(activated.begin(), activated.end(), app) > 0; }));

    // The process ends and takes its window with it: the instance is over for good, and a new
    // process under the same id would be another one.
    editor->end();
    client.close(w);
    EXPECT_TRUE(until([&] { return std::count(ended.begin(), ended.end(), app) > 0; }));
    EXPECT_TRUE(workspace().isTerminated(app));
    EXPECT_EQ(workspace().localizedName(app), "Text Editor");
    EXPECT_FALSE(workspace().hide(app));
}

}  // namespace
}  // namespace nimbrel::test
