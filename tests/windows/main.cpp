#include "app/bootstrap.h"
#include "driver.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    driver::Prepare();
    kelm::StartToolkit(argc, argv);
    const int rc = RUN_ALL_TESTS();
    driver::Finish();
    kelm::StopToolkit();
    return rc;
}
