// The main of every test program: the offscreen platform, the application
// object the forms need, and the test hooks so nothing waits for a user.
#include "gui/Forms.h"
#include "gui/Testing.h"
#include <gtest/gtest.h>
#include <cstdlib>

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::testing::InitGoogleTest(&argc, argv);
    TApplication app(argc, argv);
    gui::testing::Enable();
    return RUN_ALL_TESTS();
}
