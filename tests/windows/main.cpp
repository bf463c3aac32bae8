#include "app/bootstrap.h"

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::testing::InitGoogleTest(&argc, argv);
    kelm::StartToolkit(argc, argv);
    const int rc = RUN_ALL_TESTS();
    kelm::StopToolkit();
    return rc;
}
