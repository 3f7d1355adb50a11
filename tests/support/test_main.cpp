#include "support/test_env.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    test_env::Initialise();
    const int result = RUN_ALL_TESTS();
    test_env::Cleanup();
    return result;
}
