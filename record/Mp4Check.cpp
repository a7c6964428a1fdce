#include "record/Mp4Check.h"

#include "base/Utf8Files.h"

#include <cmath>
#include <cstdio>
#include <memory>
#include <optional>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

// The index of a long recording at a high rate is a few megabytes; more is
// not an index this recorder asked for.
constexpr std::uint64_t maxIndexBytes = 64u << 20;
constexpr std::uint64_t boxHeaderBytes = 8;
constexpr std::uint64_t largeSizeBytes = 8;

std::uint32_t fourCc(const char (&code)[5]) {
    return static_cast<std::uint32_t>(code[0]) << 24 | static_cast<std::uint32_t>(code[1]) << 16 |
           static_cast<std::uint32_t>(code[2]) << 8 | static_cast<std::uint32_t>(code[3]);
}

std::uint64_t bigEndian(const std::uint8_t* bytes, int count) {
    std::uint64_t value = 0;
    for (int i = 0; i < count; ++i) {
        value = value << 8 | bytes[i];
    }
    return value;
}

struct Box {
    std::uint32_t type = 0;
    std::uint64_t start = 0;   // of the header
    std::uint64_t payload = 0; // offset of the contents
    std::uint64_t end = 0;     // one past the last byte
};

// The box at `at` within a region ending at `limit`, given its first 16
// bytes (fewer at the region's end). Nullopt when the header does not fit
// or claims more than the region holds.
std::optional<Box> boxAt(const std::uint8_t* header, std::uint64_t available, std::uint64_t at,
                         std::uint64_t limit) {
    if (available < boxHeaderBytes) {
        return std::nullopt;
    }
    Box box;
    box.start = at;
    box.type = static_cast<std::uint32_t>(bigEndian(header + 4, 4));
    std::uint64_t size = bigEndian(header, 4);
    box.payload = at + boxHeaderBytes;
    if (size == 1) {
        if (available < boxHeaderBytes + largeSizeBytes) {
            return std::nullopt;
        }
        size = bigEndian(header + boxHeaderBytes, 8);
        box.payload += largeSizeBytes;
    } else if (size == 0) {
        size = limit - at; // to the end of the region
    }
    if (size < box.payload - at || size > limit - at) {
        return std::nullopt;
    }
    box.end = at + size;
    return box;
}

// The child boxes of a box held in memory. Nullopt when they do not tile it.
std::optional<std::vector<Box>> childrenOf(const Bytes& bytes, std::uint64_t from,
                                           std::uint64_t to) {
    std::vector<Box> children;
    for (std::uint64_t at = from; at < to;) {
        const std::optional<Box> box = boxAt(bytes.data() + at, to - at, at, to);
        if (!box) {
            return std::nullopt;
        }
        children.push_back(*box);
        at = box->end;
    }
    return children;
}

const Box* find(const std::vector<Box>& boxes, std::uint32_t type) {
    for (const Box& box : boxes) {
        if (box.type == type) {
            return &box;
        }
    }
    return nullptr;
}

// Follows a path of container boxes down from `boxes`; null when any is missing.
std::optional<std::vector<Box>> descend(const Bytes& bytes, const std::vector<Box>& boxes,
                                        std::initializer_list<std::uint32_t> path) {
    std::vector<Box> level = boxes;
    for (const std::uint32_t type : path) {
        const Box* box = find(level, type);
        if (box == nullptr) {
            return std::nullopt;
        }
        std::optional<std::vector<Box>> next = childrenOf(bytes, box->payload, box->end);
        if (!next) {
            return std::nullopt;
        }
        level = std::move(*next);
    }
    return level;
}

struct Track {
    std::uint32_t handler = 0;
    double seconds = 0.0;
    std::uint64_t samples = 0;
};

// What a 'trak' box says of its kind, length and sample count.
std::optional<Track> readTrack(const Bytes& bytes, const Box& trak) {
    const std::optional<std::vector<Box>> inTrak = childrenOf(bytes, trak.payload, trak.end);
    if (!inTrak) {
        return std::nullopt;
    }
    const std::optional<std::vector<Box>> inMdia = descend(bytes, *inTrak, {fourCc("mdia")});
    if (!inMdia) {
        return std::nullopt;
    }
    const Box* mdhd = find(*inMdia, fourCc("mdhd"));
    const Box* hdlr = find(*inMdia, fourCc("hdlr"));
    const std::optional<std::vector<Box>> inStbl =
        descend(bytes, *inMdia, {fourCc("minf"), fourCc("stbl")});
    const Box* stsz = inStbl ? find(*inStbl, fourCc("stsz")) : nullptr;
    // hdlr: version and flags, a pre-defined word, then the handler type.
    // stsz: version and flags, the common sample size, then the count.
    if (mdhd == nullptr || hdlr == nullptr || stsz == nullptr || hdlr->end - hdlr->payload < 12 ||
        stsz->end - stsz->payload < 12 || mdhd->end - mdhd->payload < 24) {
        return std::nullopt;
    }
    Track track;
    track.handler = static_cast<std::uint32_t>(bigEndian(&bytes[hdlr->payload + 8], 4));
    track.samples = bigEndian(&bytes[stsz->payload + 8], 4);
    // mdhd version 0: times of 32 bits; version 1: creation and change
    // times and the duration of 64 bits.
    const std::uint8_t* mdhdBytes = &bytes[mdhd->payload];
    const bool wide = mdhdBytes[0] == 1;
    if (wide && mdhd->end - mdhd->payload < 36) {
        return std::nullopt;
    }
    const std::uint64_t timescale = bigEndian(mdhdBytes + (wide ? 20 : 12), 4);
    const std::uint64_t duration = bigEndian(mdhdBytes + (wide ? 24 : 16), wide ? 8 : 4);
    if (timescale == 0) {
        return std::nullopt;
    }
    track.seconds = static_cast<double>(duration) / static_cast<double>(timescale);
    return track;
}

std::string secondsText(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f s", seconds);
    return text;
}

} // namespace

bool checkMp4File(const std::string& path, const Mp4Expectation& expected, std::string& error) {
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(openUtf8File(path, "rb"),
                                                               std::fclose);
    if (!file || std::fseek(file.get(), 0, SEEK_END) != 0) {
        error = "the video cannot be read back";
        return false;
    }
    const long length = std::ftell(file.get());
    if (length <= 0) {
        error = "the video is empty";
        return false;
    }
    const auto fileBytes = static_cast<std::uint64_t>(length);

    // The top-level boxes, from their headers alone; the index is read whole.
    std::vector<Box> topLevel;
    Bytes index;
    for (std::uint64_t at = 0; at < fileBytes;) {
        std::uint8_t header[boxHeaderBytes + largeSizeBytes] = {};
        const std::uint64_t wanted = std::min<std::uint64_t>(sizeof header, fileBytes - at);
        if (std::fseek(file.get(), static_cast<long>(at), SEEK_SET) != 0 ||
            std::fread(header, 1, wanted, file.get()) != wanted) {
            error = "the video cannot be read back";
            return false;
        }
        const std::optional<Box> box = boxAt(header, wanted, at, fileBytes);
        if (!box) {
            error = "the video is cut short or damaged at byte " + std::to_string(at);
            return false;
        }
        if (topLevel.empty() && box->type != fourCc("ftyp")) {
            error = "the video is not an MP4 file";
            return false;
        }
        if (box->type == fourCc("moov")) {
            if (!index.empty() || box->end - box->start > maxIndexBytes) {
                error = "the video's index is damaged";
                return false;
            }
            index.resize(box->end - box->start);
            if (std::fseek(file.get(), static_cast<long>(box->start), SEEK_SET) != 0 ||
                std::fread(index.data(), 1, index.size(), file.get()) != index.size()) {
                error = "the video cannot be read back";
                return false;
            }
        }
        topLevel.push_back(*box);
        at = box->end;
    }
    if (find(topLevel, fourCc("mdat")) == nullptr) {
        error = "the video holds no pictures or sound";
        return false;
    }
    if (index.empty()) {
        error = "the video has no index (moov): it was not finished";
        return false;
    }

    // The tracks.
    const Box moov = *boxAt(index.data(), index.size(), 0, index.size());
    const std::optional<std::vector<Box>> inMoov = childrenOf(index, moov.payload, moov.end);
    if (!inMoov) {
        error = "the video's index is damaged";
        return false;
    }
    std::vector<Track> video, sound;
    for (const Box& box : *inMoov) {
        if (box.type != fourCc("trak")) {
            continue;
        }
        const std::optional<Track> track = readTrack(index, box);
        if (!track) {
            error = "the video's index is damaged";
            return false;
        }
        if (track->handler == fourCc("vide")) {
            video.push_back(*track);
        } else if (track->handler == fourCc("soun")) {
            sound.push_back(*track);
        }
    }
    if (video.size() != 1 || sound.size() != 1) {
        error = "the video has " + std::to_string(video.size()) + " picture and " +
                std::to_string(sound.size()) + " sound streams, not one of each";
        return false;
    }
    if (static_cast<std::int64_t>(video[0].samples) != expected.videoFrames) {
        error = "the video holds " + std::to_string(video[0].samples) + " frames, not " +
                std::to_string(expected.videoFrames);
        return false;
    }
    if (std::abs(sound[0].seconds - expected.seconds) > soundLengthTolerance) {
        error = "the sound lasts " + secondsText(sound[0].seconds) + ", not " +
                secondsText(expected.seconds);
        return false;
    }
    return true;
}
