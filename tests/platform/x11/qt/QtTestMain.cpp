#include <gtest/gtest.h>

#include <QtWidgets/QApplication>

#include <cstdlib>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // Without a session bus address libdbus tries to launch a bus of its own when Qt first shows
    // a window, and leaks on that way; a test that wants a bus names its own.
    setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent", 0);
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
