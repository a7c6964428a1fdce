#include "base/Utf8Files.h"

#include <cstring>
#include <system_error>

std::filesystem::path pathFromUtf8(const std::string& utf8Path) {
    try {
        return std::filesystem::u8path(utf8Path);
    } catch (const std::system_error&) {
        return {};
    }
}

std::FILE* openUtf8File(const std::string& utf8Path, const char* mode) {
#ifdef _WIN32
    const std::filesystem::path path = pathFromUtf8(utf8Path);
    if (path.empty()) {
        return nullptr;
    }
    const std::wstring wideMode(mode, mode + std::strlen(mode));
    return _wfopen(path.c_str(), wideMode.c_str());
#else
    return std::fopen(utf8Path.c_str(), mode);
#endif
}

bool isRegularUtf8File(const std::string& utf8Path) {
    const std::filesystem::path path = pathFromUtf8(utf8Path);
    std::error_code error;
    return !path.empty() && std::filesystem::is_regular_file(path, error);
}
