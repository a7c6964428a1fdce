#include "record/ProgressReport.h"

#include <unistd.h>

#include <string>

namespace {

constexpr int barWidth = 30;
constexpr int tenths = 10;
constexpr auto redrawInterval = std::chrono::milliseconds(200);
// How often a sample of the pace is kept.
constexpr double sampleIntervalSeconds = 1.0;

std::string minutesAndSeconds(double seconds) {
    const long whole = static_cast<long>(seconds + 0.5);
    char text[32];
    if (whole >= 3600) {
        std::snprintf(text, sizeof text, "%ld:%02ld:%02ld", whole / 3600, whole / 60 % 60,
                      whole % 60);
    } else {
        std::snprintf(text, sizeof text, "%ld:%02ld", whole / 60, whole % 60);
    }
    return text;
}

} // namespace

double remainingSeconds(const std::deque<ProgressSample>& samples, long long total) {
    if (samples.empty() || samples.back().done <= 0 || samples.back().done >= total) {
        return 0.0;
    }
    const ProgressSample& now = samples.back();
    // The oldest sample inside the window; the start itself when none is.
    ProgressSample from;
    for (const ProgressSample& sample : samples) {
        if (now.seconds - sample.seconds <= progressPaceWindowSeconds) {
            from = sample;
            break;
        }
    }
    if (now.done <= from.done || now.seconds <= from.seconds) {
        from = ProgressSample{};
    }
    const double framesPerSecond =
        static_cast<double>(now.done - from.done) / (now.seconds - from.seconds);
    return static_cast<double>(total - now.done) / framesPerSecond;
}

ProgressReport::ProgressReport(long long totalFrames, std::FILE* stream)
    : totalFrames_(totalFrames), stream_(stream), terminal_(isatty(fileno(stream)) == 1),
      started_(std::chrono::steady_clock::now()), lastDrawn_(started_) {}

double ProgressReport::elapsedSeconds() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - started_).count();
}

void ProgressReport::update(long long done) {
    const double elapsed = elapsedSeconds();
    if (samples_.empty() || elapsed - samples_.back().seconds >= sampleIntervalSeconds) {
        samples_.push_back({elapsed, done});
        while (samples_.size() > 2 && elapsed - samples_[1].seconds > progressPaceWindowSeconds) {
            samples_.pop_front();
        }
    } else {
        samples_.back() = {elapsed, done};
    }
    if (terminal_) {
        const auto now = std::chrono::steady_clock::now();
        if (now - lastDrawn_ >= redrawInterval) {
            lastDrawn_ = now;
            draw(done);
        }
        return;
    }
    const int tenth = static_cast<int>(done * tenths / totalFrames_);
    if (tenth > lastTenth_ && done < totalFrames_) {
        lastTenth_ = tenth;
        draw(done);
    }
}

void ProgressReport::finish(long long done) {
    samples_.push_back({elapsedSeconds(), done});
    draw(done);
    if (terminal_) {
        std::fputc('\n', stream_);
    }
}

void ProgressReport::draw(long long done) {
    const double fraction = static_cast<double>(done) / static_cast<double>(totalFrames_);
    const int percent = static_cast<int>(fraction * 100.0);
    const std::string times = "elapsed " + minutesAndSeconds(elapsedSeconds()) + "  remaining " +
                              minutesAndSeconds(remainingSeconds(samples_, totalFrames_));
    if (terminal_) {
        const int filled = static_cast<int>(fraction * barWidth);
        const std::string bar = std::string(static_cast<std::size_t>(filled), '#') +
                                std::string(static_cast<std::size_t>(barWidth - filled), '.');
        std::fprintf(stream_, "\r[%s] %3d%%  %lld/%lld frames  %s ", bar.c_str(), percent, done,
                     totalFrames_, times.c_str());
    } else {
        std::fprintf(stream_, "recording: %3d%%  %lld/%lld frames  %s\n", percent, done,
                     totalFrames_, times.c_str());
    }
    std::fflush(stream_);
}
