// Damaged music files through the show's own open and fill (support/Music.h):
// each either plays or fails like a missing file, with one line on standard
// error, and none may crash, hang or take memory without bound. The
// sanitizer build runs the same rows; that is where a memory error or
// undefined behaviour inside the decoder shows.
#include "support/Music.h"
#include "support/TempFile.h"

#define STB_VORBIS_HEADER_ONLY
#include <gtest/gtest.h>
#include <stb_vorbis.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#ifdef VELMORA_CHECK_PEAK_MEMORY
#include <malloc.h>
#endif

namespace {

using Bytes = std::string;

Bytes readBytes(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// The piece with the 32-bit little-endian word at `offset` after the start of
// its comment header's "\x03vorbis" replaced.
Bytes withCommentHeaderWord(Bytes piece, std::size_t offset, std::uint32_t value) {
    const std::size_t header = piece.find("\x03vorbis");
    EXPECT_NE(header, Bytes::npos);
    const std::size_t at = header + offset;
    for (int i = 0; i < 4; ++i) {
        piece.at(at + static_cast<std::size_t>(i)) = static_cast<char>(value >> (8 * i));
    }
    return piece;
}

enum class Outcome { fails, plays, either };

struct DamagedFile {
    std::string name;
    Bytes bytes;
    Outcome expected;
    // The decoder's error in the line a failed open prints; 0: any.
    int error = 0;
};

#ifdef VELMORA_CHECK_PEAK_MEMORY
// Memory a damaged file made the decoder touch: the peak resident size while
// it played, above the resident size before. Reading set-up data past the
// end of its packet fills tables of millions of entries that the packet
// never held; a file's worth of real tables takes far less.
constexpr long touchedLimitKilobytes = 10 * 1024;

long statusKilobytes(const std::string& field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field, 0) == 0) {
            return std::stol(line.substr(field.size()));
        }
    }
    return -1;
}
#endif

// The piece edited where the decoder once failed, everything the fuzzer
// found, and the small valid files it starts from.
std::vector<DamagedFile> damagedFiles() {
    const Bytes piece = readBytes(VELMORA_SOURCE_DIR "/data/dancing.ogg");
    EXPECT_GT(piece.size(), 400000u);
    // The vendor string's length follows "\x03vorbis"; the comment count
    // follows the vendor string (52 bytes in this file).
    const std::size_t vendorLength = 7;
    const std::uint32_t vendorBytes = 52;
    const std::size_t commentCount = vendorLength + 4 + vendorBytes;

    // A length or count no stream could hold is a damaged file, not a want
    // of memory, which the line would otherwise send the user looking for.
    std::vector<DamagedFile> files{
        {"vendor-length-7FFFFF00", withCommentHeaderWord(piece, vendorLength, 0x7FFFFF00u),
         Outcome::fails, VORBIS_invalid_setup},
        {"vendor-length-negative", withCommentHeaderWord(piece, vendorLength, 0xFFFFFFFFu),
         Outcome::fails, VORBIS_invalid_setup},
        {"comment-count-10000000", withCommentHeaderWord(piece, commentCount, 0x10000000u),
         Outcome::fails, VORBIS_invalid_setup},
        {"truncated", piece.substr(0, 300000), Outcome::plays},
    };
    for (const char* dir : {"regressions", "seeds"}) {
        for (const auto& entry : std::filesystem::directory_iterator(
                 VELMORA_SOURCE_DIR "/tests/fuzz/" + std::string(dir))) {
            files.push_back({entry.path().filename().string(), readBytes(entry.path()),
                             dir == std::string("seeds") ? Outcome::plays : Outcome::either});
        }
    }
    EXPECT_GT(files.size(), 10u);
    return files;
}

} // namespace

TEST(DamagedMusic, EachFilePlaysOrFailsLikeAMissingFile) {
#ifdef VELMORA_CHECK_PEAK_MEMORY
    // Large blocks each mapped afresh and given back when freed, so that one
    // file's blocks never land on pages an earlier file already touched.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
#endif
    for (const DamagedFile& file : damagedFiles()) {
        SCOPED_TRACE(file.name);
        const std::string path = writeTempFile(file.name + ".ogg", file.bytes);
#ifdef VELMORA_CHECK_PEAK_MEMORY
        std::ofstream("/proc/self/clear_refs") << "5"; // the peak starts again from here
        const long residentBefore = statusKilobytes("VmRSS:");
#endif
        testing::internal::CaptureStderr();
        const bool opened = playMusicFile(path);
        const std::string printed = testing::internal::GetCapturedStderr();
#ifdef VELMORA_CHECK_PEAK_MEMORY
        EXPECT_LT(statusKilobytes("VmHWM:") - residentBefore, touchedLimitKilobytes)
            << "kilobytes touched";
#endif
        if (file.expected != Outcome::either) {
            EXPECT_EQ(opened, file.expected == Outcome::plays);
        }
        // A file that cannot be played is reported the way a missing one is.
        EXPECT_EQ(printed.empty(), opened) << printed;
        if (!opened) {
            EXPECT_EQ(printed.rfind("Couldn't open music " + path, 0), 0u) << printed;
            EXPECT_EQ(std::count(printed.begin(), printed.end(), '\n'), 1);
        }
        if (file.error != 0) {
            EXPECT_NE(printed.find("(stb_vorbis error " + std::to_string(file.error) + ")"),
                      std::string::npos)
                << printed;
        }
        std::filesystem::remove(path);
    }
}
