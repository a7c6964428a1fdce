#pragma once
// A file written under a temporary name in the folder of its final path and
// renamed onto that path only when it is complete, so that a failure or an
// interruption never leaves a broken file under the final name.
//
// The temporary name is ".<final name>.partial-<process id>" in the same
// folder (a rename within one file system is atomic). The destructor removes
// the temporary file unless commit() succeeded. Not thread-safe: one owner.
#include <string>

class PartialFile {
public:
    explicit PartialFile(std::string finalPath);
    ~PartialFile();
    PartialFile(const PartialFile&) = delete;
    PartialFile& operator=(const PartialFile&) = delete;

    const std::string& finalPath() const { return finalPath_; }
    const std::string& temporaryPath() const { return temporaryPath_; }

    // Creates the temporary file empty, which shows early whether the folder
    // can be written. Returns false with `error` set (path and reason).
    bool create(std::string& error);

    // Renames the temporary file onto the final path. Returns false with
    // `error` set when the rename fails; the temporary file is then removed.
    bool commit(std::string& error);

private:
    std::string finalPath_;
    std::string temporaryPath_;
    bool committed_ = false;
};
