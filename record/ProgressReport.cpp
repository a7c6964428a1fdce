#include "record/ProgressReport.h"

#include <unistd.h>

#include <string>

namespace {

constexpr int barWidth = 30;
constexpr int tenths = 10;
constexpr auto redrawInterval = std::chrono::milliseconds(200);

std::string minutesAndSeconds(double seconds) {
    const long whole = static_cast<long>(seconds + 0.5);
    char text[32];
    std::snprintf(text, sizeof text, "%ld:%02ld", whole / 60, whole % 60);
    return text;
}

} // namespace

ProgressReport::ProgressReport(int totalFrames, std::FILE* stream)
    : totalFrames_(totalFrames), stream_(stream), terminal_(isatty(fileno(stream)) == 1),
      started_(std::chrono::steady_clock::now()), lastDrawn_(started_) {}

double ProgressReport::elapsedSeconds() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - started_).count();
}

void ProgressReport::update(int done) {
    if (terminal_) {
        const auto now = std::chrono::steady_clock::now();
        if (now - lastDrawn_ >= redrawInterval) {
            lastDrawn_ = now;
            draw(done);
        }
        return;
    }
    const int tenth = static_cast<int>(static_cast<long>(done) * tenths / totalFrames_);
    if (tenth > lastTenth_ && done < totalFrames_) {
        lastTenth_ = tenth;
        draw(done);
    }
}

void ProgressReport::finish(int done) {
    draw(done);
    if (terminal_) {
        std::fputc('\n', stream_);
    }
}

void ProgressReport::draw(int done) {
    const double elapsed = elapsedSeconds();
    const double fraction = static_cast<double>(done) / totalFrames_;
    const double remaining = done > 0 ? elapsed * (totalFrames_ - done) / done : 0.0;
    const int percent = static_cast<int>(fraction * 100.0);
    const std::string times =
        "elapsed " + minutesAndSeconds(elapsed) + "  remaining " + minutesAndSeconds(remaining);
    if (terminal_) {
        const int filled = static_cast<int>(fraction * barWidth);
        const std::string bar = std::string(static_cast<std::size_t>(filled), '#') +
                                std::string(static_cast<std::size_t>(barWidth - filled), '.');
        std::fprintf(stream_, "\r[%s] %3d%%  %d/%d frames  %s ", bar.c_str(), percent, done,
                     totalFrames_, times.c_str());
    } else {
        std::fprintf(stream_, "recording: %3d%%  %d/%d frames  %s\n", percent, done, totalFrames_,
                     times.c_str());
    }
    std::fflush(stream_);
}
