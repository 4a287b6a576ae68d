#include <gtest/gtest.h>

#include <QtWidgets/QApplication>

#include <cstdlib>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // No session bus here: without an address libdbus would try to start one for Qt.
    setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent", 0);
    // Nor a system bus with a fingerprint service: the path every test takes is the one without.
    setenv("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/nonexistent", 0);
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
