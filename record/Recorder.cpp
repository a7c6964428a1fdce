#include "record/Recorder.h"

#include "app/AudioCallback.h"
#include "record/ColourConversion.h"
#include "record/ContactSheet.h"
#include "record/EncoderProcess.h"
#include "record/FrameCapture.h"
#include "record/FrameQueue.h"
#include "record/PartialFile.h"
#include "record/ProgressReport.h"
#include "app/ShowClock.h"
#include "base/ShowConstants.h"

#define STB_VORBIS_HEADER_ONLY
#include <stb_vorbis.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <thread>
#include <vector>

namespace {

// Frames are the size of the show's window.
constexpr int frameWidth = windowWidth;
constexpr int frameHeight = windowHeight;
// The live audio device's format and buffer: 1024 stereo 16-bit frames.
constexpr int soundRate = audioSampleRate;
constexpr int soundChannels = audioChannels;
constexpr int soundFrameBytes = soundChannels * static_cast<int>(sizeof(std::int16_t));
constexpr int soundBufferBytes = audioBufferFrames * soundFrameBytes;
// Frames between drawing one and reading it: the GL finishes a frame while
// the next one is drawn.
constexpr int readBackLag = 2;
// Frame buffers between the read-back and the encoder's pipe.
constexpr int queuedFrames = 4;
constexpr double millisecondsPerSecond = 1000.0;

const char* const videoSuffix = ".mp4";

void report(const std::string& line) {
    std::fprintf(stderr, "velmora-record: %s\n", line.c_str());
}

// What the two feeding threads found.
struct FeedState {
    std::atomic<bool> stop{false};
    std::atomic<bool> encoderGone{false};
    std::atomic<bool> rawFramesFailed{false};
};

// Hands the frames to the encoder (and the raw file and the sheet).
void feedFrames(FrameQueue& queue, EncoderProcess& encoder, std::FILE* rawFrames,
                ContactSheet& sheet, FeedState& state) {
    std::vector<std::uint8_t> yuv(yuv420Bytes(frameWidth, frameHeight));
    while (std::optional<QueuedFrame> frame = queue.takeFilled()) {
        if (!state.stop) {
            if (sheet.wants(frame->index)) {
                sheet.add(frame->index, frame->pixels.data());
            }
            if (rawFrames != nullptr &&
                std::fwrite(frame->pixels.data(), frame->pixels.size(), 1, rawFrames) != 1) {
                state.rawFramesFailed = true;
                state.stop = true;
            }
            rgbaToYuv420(frame->pixels.data(), frameWidth, frameHeight, yuv.data());
            if (!encoder.writeFrame(yuv.data(), yuv.size())) {
                state.encoderGone = true;
                state.stop = true;
            }
        }
        queue.giveEmpty(std::move(*frame));
    }
    encoder.endFrames();
}

// Silence until the music starts, then the show's audio callback, a device
// buffer at a time, until the sound is as long as the picture.
void feedSound(IntroApp& app, EncoderProcess& encoder, long long totalBytes, FeedState& state) {
    std::vector<Uint8> buffer(soundBufferBytes, 0);
    const long long silentBytes = std::min(totalBytes, static_cast<long long>(musicStartMs) *
                                                           soundRate / 1000 * soundFrameBytes);
    long long written = 0;
    while (written < silentBytes && !state.stop) {
        const long long part = std::min<long long>(soundBufferBytes, silentBytes - written);
        if (!encoder.writeSound(buffer.data(), static_cast<std::size_t>(part))) {
            state.encoderGone = true;
            state.stop = true;
        }
        written += part;
    }
    while (written < totalBytes && !state.stop) {
        audioCallback(&app, buffer.data(), soundBufferBytes);
        const long long part = std::min<long long>(soundBufferBytes, totalBytes - written);
        if (!encoder.writeSound(buffer.data(), static_cast<std::size_t>(part))) {
            state.encoderGone = true;
            state.stop = true;
        }
        written += part;
    }
    encoder.endSound();
}

} // namespace

std::string contactSheetPath(const std::string& videoPath) {
    const std::size_t suffixLength = std::char_traits<char>::length(videoSuffix);
    const bool hasSuffix =
        videoPath.size() > suffixLength &&
        videoPath.compare(videoPath.size() - suffixLength, suffixLength, videoSuffix) == 0;
    return (hasSuffix ? videoPath.substr(0, videoPath.size() - suffixLength) : videoPath) +
           "-contact.png";
}

bool outputsWritable(const std::string& videoPath, std::string& error) {
    PartialFile video(videoPath);
    PartialFile sheet(contactSheetPath(videoPath));
    return video.create(error) && sheet.create(error);
}

int recordShow(IntroApp& app, const RecordOptions& options, const StopSignals& stopSignals) {
    std::string error;
    PartialFile video(options.outputPath);
    PartialFile sheetFile(contactSheetPath(options.outputPath));
    if (!video.create(error) || !sheetFile.create(error)) {
        report(error);
        return recordFailed;
    }
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> rawFrames(nullptr, std::fclose);
    if (!options.rawFramesPath.empty()) {
        rawFrames.reset(std::fopen(options.rawFramesPath.c_str(), "wb"));
        if (!rawFrames) {
            report("cannot write " + options.rawFramesPath);
            return recordFailed;
        }
    }

    // The sound starts from the music's beginning, as in the live show.
    if (app.decoder != nullptr) {
        stb_vorbis_seek_start(app.decoder);
    }

    FrameCapture capture(frameWidth, frameHeight, readBackLag);
    if (!capture.complete()) {
        report("the GL cannot draw into an off-screen 800x600 framebuffer");
        return recordFailed;
    }
    const int frameCount = recordFrameCount(options);
    const int rate = options.framesPerSecond;
    const long long soundFrames =
        (static_cast<long long>(frameCount) * soundRate + rate / 2) / rate;

    EncoderSettings settings;
    settings.width = frameWidth;
    settings.height = frameHeight;
    settings.framesPerSecond = rate;
    settings.sampleRate = soundRate;
    settings.channels = soundChannels;
    settings.outputPath = video.temporaryPath();
    std::unique_ptr<EncoderProcess> encoder = EncoderProcess::start(settings, error);
    if (!encoder) {
        report(error);
        return recordFailed;
    }

    FrameQueue queue(capture.frameBytes(), queuedFrames);
    ContactSheet sheet(frameWidth, frameHeight, frameCount, rate);
    FeedState state;
    std::thread frameFeeder(feedFrames, std::ref(queue), std::ref(*encoder), rawFrames.get(),
                            std::ref(sheet), std::ref(state));
    std::thread soundFeeder(feedSound, std::ref(app), std::ref(*encoder),
                            soundFrames * soundFrameBytes, std::ref(state));

    ProgressReport progress(frameCount, stderr);
    int handedOver = 0;
    const auto handOver = [&] {
        std::optional<QueuedFrame> frame = queue.takeEmpty();
        if (!frame) {
            return;
        }
        frame->index = handedOver++;
        if (!capture.takeOldest(frame->pixels.data())) {
            error = "cannot map a frame read back from the GL";
            state.stop = true;
        }
        queue.giveFilled(std::move(*frame));
    };
    bool interrupted = false;
    for (int frame = 0; frame < frameCount && !state.stop; ++frame) {
        if (stopSignals.pending()) {
            interrupted = true;
            break;
        }
        app.showClock = showClockFromTicks(frameTicks(frame, rate));
        capture.bind();
        app.renderFrame();
        capture.startReadBack();
        while (capture.frameReady(false)) {
            handOver();
        }
        progress.update(frame + 1);
    }
    while (!interrupted && !state.stop && capture.frameReady(true)) {
        handOver();
    }

    if (interrupted || state.rawFramesFailed || !error.empty()) {
        // Unblock both feeders: the encoder goes, so their writes fail.
        state.stop = true;
        encoder->stop();
    }
    queue.close();
    frameFeeder.join();
    soundFeeder.join();
    progress.finish(handedOver);

    if (interrupted) {
        report("interrupted; nothing was written");
        return recordInterrupted;
    }
    if (state.rawFramesFailed) {
        report("cannot write the raw frames to " + options.rawFramesPath);
        return recordFailed;
    }
    if (!error.empty()) {
        report(error);
        return recordFailed;
    }
    // The encoder's exit status says why it stopped reading, if it did.
    if (!encoder->finish([&] { return stopSignals.pending(); }, error)) {
        const bool stopped = stopSignals.pending();
        report(stopped ? "interrupted; nothing was written" : error);
        return stopped ? recordInterrupted : recordFailed;
    }
    if (state.encoderGone) {
        report("the encoder stopped reading before the end");
        return recordFailed;
    }
    if (!sheet.write(sheetFile.temporaryPath(), error) || !video.commit(error) ||
        !sheetFile.commit(error)) {
        report(error);
        return recordFailed;
    }
    const double elapsed = progress.elapsedSeconds();
    const double length = frameTicks(frameCount, rate) / millisecondsPerSecond;
    std::fprintf(stderr, "velmora-record: wrote %s (%d frames, %.1f s) and %s in %.1f s\n",
                 video.finalPath().c_str(), frameCount, length, sheetFile.finalPath().c_str(),
                 elapsed);
    return recordSucceeded;
}
