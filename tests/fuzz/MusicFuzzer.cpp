// libFuzzer target: arbitrary bytes as the music file, played through the
// show's own calls (tests/support/Music.h). The show opens its music by
// path, so the bytes go to an in-memory file that is opened by its
// /proc/self/fd path.
#include "support/Music.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

// Longer inputs add little but time; the seeds are a few kilobytes.
constexpr std::size_t largestInput = 16 * 1024;

struct MemoryFile {
    int descriptor = memfd_create("music", 0);
    std::string path = "/proc/self/fd/" + std::to_string(descriptor);
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const MemoryFile file;
    if (file.descriptor < 0) {
        std::abort(); // no memfd: the run would test nothing
    }
    if (size > largestInput) {
        return -1; // not added to the corpus
    }
    if (ftruncate(file.descriptor, 0) != 0 ||
        pwrite(file.descriptor, data, size, 0) != static_cast<ssize_t>(size)) {
        std::abort();
    }
    playMusicFile(file.path);
    return 0;
}
