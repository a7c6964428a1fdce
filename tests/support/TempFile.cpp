#include "support/TempFile.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>

std::string writeTempFile(const std::string& name, const std::string& contents) {
    static const std::filesystem::path directory = [] {
        const std::filesystem::path made =
            std::filesystem::temp_directory_path() /
            ("velmora-test-" + std::to_string(std::random_device{}()));
        std::error_code error;
        std::filesystem::create_directories(made, error);
        return error ? std::filesystem::temp_directory_path() : made;
    }();
    const std::filesystem::path full = directory / name;
    std::error_code error;
    std::filesystem::create_directories(full.parent_path(), error);
    const std::string path = full.string();
    std::ofstream out(path, std::ios::binary);
    out << contents;
    if (!out) {
        std::abort();
    }
    return path;
}
