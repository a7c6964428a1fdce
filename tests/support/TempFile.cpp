#include "support/TempFile.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>

std::string writeTempFile(const std::string& name, const std::string& contents) {
    static const std::string directory = [] {
        char pattern[] = "/tmp/velmora-test-XXXXXX";
        const char* made = mkdtemp(pattern);
        return std::string(made != nullptr ? made : "/tmp");
    }();
    const std::string path = directory + "/" + name;
    std::ofstream out(path, std::ios::binary);
    out << contents;
    if (!out) {
        std::abort();
    }
    return path;
}
