#include "GlTestEnvironment.h"

#include <cstdlib>
#include <fstream>
#include <unistd.h>

std::string writeTempFile(const std::string& name, const std::string& text) {
    static const std::string directory = [] {
        char pattern[] = "/tmp/velmora-gl-XXXXXX";
        const char* made = mkdtemp(pattern);
        return std::string(made != nullptr ? made : "/tmp");
    }();
    const std::string path = directory + "/" + name;
    std::ofstream(path) << text;
    return path;
}

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new GlTestEnvironment);
    return RUN_ALL_TESTS();
}
