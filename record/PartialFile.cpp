#include "record/PartialFile.h"

#include "record/ExitCleanup.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

std::string reason(const std::string& path, const char* what) {
    return what + path + ": " + std::strerror(errno);
}

} // namespace

PartialFile::PartialFile(std::string finalPath, const std::string& kind)
    : finalPath_(std::move(finalPath)) {
    const std::size_t slash = finalPath_.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : finalPath_.substr(0, slash + 1);
    temporaryPath_ = folder + ".velmora-" + std::to_string(getpid()) + "-" + kind + ".partial";
}

PartialFile::~PartialFile() {
    if (!committed_) {
        unlink(temporaryPath_.c_str());
    }
    exitCleanup::forgetFile(cleanupSlot_);
}

bool PartialFile::create(std::string& error) {
    cleanupSlot_ = exitCleanup::watchFile(temporaryPath_);
    const int descriptor =
        open(temporaryPath_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (descriptor < 0) {
        error = reason(finalPath_, "cannot write ");
        return false;
    }
    close(descriptor);
    return true;
}

bool PartialFile::write(const void* bytes, std::size_t size, std::string& error) {
    const int descriptor =
        open(temporaryPath_.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC | O_NOFOLLOW);
    if (descriptor < 0) {
        error = reason(finalPath_, "cannot write ");
        return false;
    }
    const char* next = static_cast<const char*>(bytes);
    while (size > 0) {
        const ssize_t written = ::write(descriptor, next, size);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            if (written == 0) {
                errno = ENOSPC;
            }
            error = reason(finalPath_, "cannot write ");
            close(descriptor);
            return false;
        }
        next += written;
        size -= static_cast<std::size_t>(written);
    }
    if (close(descriptor) != 0) {
        error = reason(finalPath_, "cannot write ");
        return false;
    }
    return true;
}

bool PartialFile::flush(std::string& error) {
    const int descriptor = open(temporaryPath_.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (descriptor < 0 || fsync(descriptor) != 0) {
        error = reason(finalPath_, "cannot write ");
        if (descriptor >= 0) {
            close(descriptor);
        }
        return false;
    }
    close(descriptor);
    return true;
}

bool PartialFile::commit(std::string& error) {
    struct stat status {};
    if (lstat(finalPath_.c_str(), &status) == 0 && !S_ISREG(status.st_mode)) {
        error = "cannot write " + finalPath_ + ": it is no longer a regular file";
        return false;
    }
    if (std::rename(temporaryPath_.c_str(), finalPath_.c_str()) != 0) {
        error = reason(finalPath_, "cannot rename the finished file onto ");
        return false;
    }
    committed_ = true;
    exitCleanup::forgetFile(cleanupSlot_);
    cleanupSlot_ = -1;
    return true;
}

void PartialFile::discard() {
    unlink((committed_ ? finalPath_ : temporaryPath_).c_str());
    committed_ = false;
    exitCleanup::forgetFile(cleanupSlot_);
    cleanupSlot_ = -1;
}
