// Test main for widget tests: the program's application object on the offscreen platform.
#include <gtest/gtest.h>

#include <cstdlib>

#include "shell/ui/GuardedApplication.h"

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    kal::GuardedApplication app(argc, argv);  // as the program runs
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
