#include "GlTestEnvironment.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new GlTestEnvironment);
    return RUN_ALL_TESTS();
}
