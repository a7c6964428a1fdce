#pragma once
// A file written under a temporary name in the folder of its final path and
// renamed onto that path only when it is complete and safely on disk, so
// that a failure or an interruption never leaves a broken file under the
// final name, and a full disk shows up as a failure rather than as a
// video that ends early.
//
// The temporary name is ".velmora-<process id>-<kind>.partial" in the same
// folder (a rename within one file system is atomic): short, so that a
// final name as long as the file system allows still has one. The file is
// removed when the object goes, unless commit() succeeded, and also on the
// ways out that skip destructors (ExitCleanup). Not thread-safe: one owner.
#include <string>

class PartialFile {
public:
    // `finalPath` as resolveOutputPath gives it; `kind` tells the files of
    // one recording apart ("video", "sheet").
    PartialFile(std::string finalPath, const std::string& kind);
    ~PartialFile();
    PartialFile(const PartialFile&) = delete;
    PartialFile& operator=(const PartialFile&) = delete;

    const std::string& finalPath() const { return finalPath_; }
    const std::string& temporaryPath() const { return temporaryPath_; }

    // Creates the temporary file empty, which shows early whether the folder
    // can be written. Returns false with `error` set (path and reason).
    bool create(std::string& error);

    // Writes `size` bytes as the whole temporary file. Returns false with
    // `error` set when any write or the close fails.
    bool write(const void* bytes, std::size_t size, std::string& error);

    // Flushes the temporary file to disk: what the file system has only
    // promised to write (delayed allocation, a network file system) can
    // still fail here. Returns false with `error` set when it does.
    bool flush(std::string& error);

    // Renames the flushed temporary file onto the final path, unless that
    // path has meanwhile become something other than a regular file.
    // Returns false with `error` set otherwise.
    bool commit(std::string& error);

    // Removes the temporary file now (a failed recording), or the final
    // file when it was committed (its companion could not be).
    void discard();

private:
    std::string finalPath_;
    std::string temporaryPath_;
    int cleanupSlot_ = -1;
    bool committed_ = false;
};
