#include "record/OutputPath.h"

#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace {

const char* const videoSuffix = ".mp4";
const char* const sheetSuffix = "-contact.png";
// Links followed before giving up, as the kernel does.
constexpr int maxLinkDepth = 40;

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string nameOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string folderError(const std::string& path) {
    const std::string folder = path.back() == '/' ? path : path + "/";
    return "cannot write " + path + ": it is a folder; give a file name such as " + folder +
           "velmora.mp4";
}

const char* kindOf(mode_t mode) {
    if (S_ISCHR(mode) || S_ISBLK(mode)) {
        return "a device";
    }
    if (S_ISFIFO(mode)) {
        return "a FIFO";
    }
    if (S_ISSOCK(mode)) {
        return "a socket";
    }
    return "not a regular file";
}

bool endsWith(const std::string& text, const char* suffix) {
    const std::size_t length = std::strlen(suffix);
    return text.size() > length && text.compare(text.size() - length, length, suffix) == 0;
}

} // namespace

std::optional<std::string> resolveOutputPath(const std::string& path, std::string& error) {
    if (path.empty() || path.back() == '/') {
        error = folderError(path.empty() ? "./" : path);
        return std::nullopt;
    }
    std::string resolved = path;
    for (int depth = 0;; ++depth) {
        if (nameOf(resolved).size() > maxFileNameBytes) {
            error = "cannot write " + path + ": " + std::strerror(ENAMETOOLONG);
            return std::nullopt;
        }
        struct stat status {};
        if (lstat(resolved.c_str(), &status) != 0) {
            if (errno == ENOENT) {
                return resolved; // a new file; whether its folder exists shows on creating
            }
            error = "cannot write " + path + ": " + std::strerror(errno);
            return std::nullopt;
        }
        if (S_ISREG(status.st_mode)) {
            return resolved;
        }
        if (S_ISDIR(status.st_mode)) {
            error = folderError(path);
            return std::nullopt;
        }
        if (!S_ISLNK(status.st_mode)) {
            error = "cannot write " + path + ": it is " + kindOf(status.st_mode) +
                    ", not a regular file";
            return std::nullopt;
        }
        if (depth == maxLinkDepth) {
            error = "cannot write " + path + ": " + std::strerror(ELOOP);
            return std::nullopt;
        }
        std::vector<char> target(PATH_MAX + 1);
        const ssize_t length = readlink(resolved.c_str(), target.data(), PATH_MAX);
        if (length < 0) {
            error = "cannot write " + path + ": " + std::strerror(errno);
            return std::nullopt;
        }
        const std::string link(target.data(), static_cast<std::size_t>(length));
        resolved = link.front() == '/' ? link : folderOf(resolved) + link;
    }
}

std::string contactSheetPath(const std::string& videoPath) {
    std::string stem = endsWith(videoPath, videoSuffix)
                           ? videoPath.substr(0, videoPath.size() - std::strlen(videoSuffix))
                           : videoPath;
    const std::size_t nameStart = stem.rfind('/') + 1; // 0 when there is no folder
    const std::size_t room = maxFileNameBytes - std::strlen(sheetSuffix);
    if (stem.size() - nameStart > room) {
        std::size_t cut = nameStart + room;
        // Back to the first byte of a UTF-8 character.
        while (cut > nameStart && (static_cast<unsigned char>(stem[cut]) & 0xC0) == 0x80) {
            --cut;
        }
        stem.resize(cut);
    }
    return stem + sheetSuffix;
}
