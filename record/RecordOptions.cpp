#include "record/RecordOptions.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

const char* const recordUsage =
    "usage: velmora-record [--seconds S] [--fps N] [--size WxH] [--quality draft|release]\n"
    "                      [--raw-frames FILE] [OUT.mp4]\n"
    "  Records the show to OUT.mp4 (default velmora.mp4) and a contact sheet beside it.\n"
    "  --seconds S        length, up to 3600 (default: one 112 s cycle)\n"
    "  --fps N            frames per second, 1 to 240 (default 60)\n"
    "  --size WxH         frame size, even numbers from 320x240 to 7680x4320 (default\n"
    "                     800x600); other shapes than 4:3 get black bars\n"
    "  --quality Q        draft (default: quick) or release (for uploading: slower,\n"
    "                     no visible loss)\n"
    "  --raw-frames FILE  also write the frames as the encoder receives them\n";

namespace {

bool parseSeconds(const char* text, double& seconds) {
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(text, &end);
    if (errno != 0 || end == text || *end != '\0' || !std::isfinite(value) || value <= 0.0 ||
        value > maxRecordSeconds) {
        return false;
    }
    seconds = value;
    return true;
}

bool parseRate(const char* text, int& rate) {
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text, &end, 10);
    if (errno != 0 || end == text || *end != '\0' || value < 1 || value > maxFramesPerSecond) {
        return false;
    }
    rate = static_cast<int>(value);
    return true;
}

bool parseSize(const char* text, int& width, int& height) {
    char* end = nullptr;
    errno = 0;
    const long w = std::strtol(text, &end, 10);
    if (errno != 0 || end == text || (*end != 'x' && *end != 'X')) {
        return false;
    }
    const char* second = end + 1;
    const long h = std::strtol(second, &end, 10);
    if (errno != 0 || end == second || *end != '\0' || w < minFrameWidth || w > maxFrameWidth ||
        h < minFrameHeight || h > maxFrameHeight || w % 2 != 0 || h % 2 != 0) {
        return false;
    }
    width = static_cast<int>(w);
    height = static_cast<int>(h);
    return true;
}

bool parseQuality(const std::string& text, RecordQuality& quality) {
    if (text == "draft") {
        quality = RecordQuality::draft;
    } else if (text == "release") {
        quality = RecordQuality::release;
    } else {
        return false;
    }
    return true;
}

} // namespace

std::optional<RecordOptions> parseRecordOptions(int argumentCount, const char* const arguments[],
                                                std::string& error) {
    RecordOptions options;
    bool outputGiven = false;
    for (int i = 0; i < argumentCount; ++i) {
        const std::string argument = arguments[i];
        const bool takesValue = argument == "--seconds" || argument == "--fps" ||
                                argument == "--size" || argument == "--quality" ||
                                argument == "--raw-frames";
        if (takesValue && i + 1 >= argumentCount) {
            error = argument + " needs a value";
            return std::nullopt;
        }
        if (argument == "--help" || argument == "-h") {
            options.helpRequested = true;
        } else if (argument == "--seconds") {
            if (!parseSeconds(arguments[++i], options.seconds)) {
                error = "--seconds takes a number above 0 and up to " +
                        std::to_string(static_cast<int>(maxRecordSeconds)) + ", not '" +
                        arguments[i] + "'";
                return std::nullopt;
            }
        } else if (argument == "--fps") {
            if (!parseRate(arguments[++i], options.framesPerSecond)) {
                error = "--fps takes a whole number from 1 to " +
                        std::to_string(maxFramesPerSecond) + ", not '" + arguments[i] + "'";
                return std::nullopt;
            }
        } else if (argument == "--size") {
            if (!parseSize(arguments[++i], options.width, options.height)) {
                error = "--size takes even numbers WxH from " + std::to_string(minFrameWidth) +
                        "x" + std::to_string(minFrameHeight) + " to " +
                        std::to_string(maxFrameWidth) + "x" + std::to_string(maxFrameHeight) +
                        ", not '" + arguments[i] + "'";
                return std::nullopt;
            }
        } else if (argument == "--quality") {
            if (!parseQuality(arguments[++i], options.quality)) {
                error = std::string("--quality takes draft or release, not '") + arguments[i] + "'";
                return std::nullopt;
            }
        } else if (argument == "--raw-frames") {
            options.rawFramesPath = arguments[++i];
        } else if (argument.size() > 1 && argument[0] == '-') {
            error = "unknown option '" + argument + "'";
            return std::nullopt;
        } else if (outputGiven || argument.empty()) {
            error = argument.empty() ? "the output path is empty"
                                     : "more than one output path ('" + argument + "')";
            return std::nullopt;
        } else {
            options.outputPath = argument;
            outputGiven = true;
        }
    }
    return options;
}

int recordFrameCount(const RecordOptions& options) {
    const double frames = std::round(options.seconds * options.framesPerSecond);
    return frames < 1.0 ? 1 : static_cast<int>(frames);
}

std::uint32_t frameTicks(int frame, int framesPerSecond) {
    // Whole-number arithmetic: round(frame * 1000 / rate), halves upwards.
    const std::uint64_t numerator =
        static_cast<std::uint64_t>(frame) * 2000u + static_cast<std::uint64_t>(framesPerSecond);
    return static_cast<std::uint32_t>(numerator /
                                      (2u * static_cast<std::uint64_t>(framesPerSecond)));
}
