#include "record/PartialFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

PartialFile::PartialFile(std::string finalPath) : finalPath_(std::move(finalPath)) {
    const std::size_t slash = finalPath_.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : finalPath_.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? finalPath_ : finalPath_.substr(slash + 1);
    temporaryPath_ = folder + "." + name + ".partial-" + std::to_string(getpid());
}

PartialFile::~PartialFile() {
    if (!committed_) {
        std::remove(temporaryPath_.c_str());
    }
}

bool PartialFile::create(std::string& error) {
    const int descriptor =
        open(temporaryPath_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (descriptor < 0) {
        error = "cannot write " + finalPath_ + ": " + std::strerror(errno);
        return false;
    }
    close(descriptor);
    return true;
}

bool PartialFile::commit(std::string& error) {
    if (std::rename(temporaryPath_.c_str(), finalPath_.c_str()) != 0) {
        error = "cannot rename the finished file onto " + finalPath_ + ": " + std::strerror(errno);
        return false;
    }
    committed_ = true;
    return true;
}
