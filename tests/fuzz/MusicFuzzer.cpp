// libFuzzer target: arbitrary bytes as the music file, played through the
// show's own calls (tests/support/Music.h). The show opens its music by
// path, so the bytes go to an in-memory file that is opened by its
// /proc/self/fd path.
//
// A slow input is one that takes more than `processorLimit` of processor
// time. It is timed on the process's processor clock rather than the wall
// clock, since the fuzzer runs niced beside the suite: on a loaded machine an
// input of a few hundred milliseconds waits many seconds for a core.
// libFuzzer's own wall-clock -timeout is left to catch an input that never
// returns.
#include "support/Music.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

namespace {

// Longer inputs add little but time; the seeds are a few kilobytes.
constexpr std::size_t largestInput = 16 * 1024;

// A freeze is an input on which the decoder works far longer than on any
// file it can play: the slowest honest inputs, codebooks that fill the
// decoder's 16 MB set-up ceiling, take a few tenths of a second under the
// sanitizers (50 ms in a normal build).
constexpr double processorLimit = 2.0;

double processorSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

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
    const double start = processorSeconds();
    playMusicFile(file.path);
    const double spent = processorSeconds() - start;
    if (spent > processorLimit) {
        std::fprintf(stderr, "slow input: %.2f s of processor time (limit %.1f s)\n", spent,
                     processorLimit);
        std::abort(); // libFuzzer keeps the input as a crash
    }
    return 0;
}
