#include "record/Recorder.h"

#include "app/AudioCallback.h"
#include "app/ShowClock.h"
#include "base/ShowConstants.h"
#include "record/ColourConversion.h"
#include "record/ContactSheet.h"
#include "record/EncoderProcess.h"
#include "record/FrameCapture.h"
#include "record/FrameQueue.h"
#include "record/Mp4Check.h"
#include "record/ProgressReport.h"

#define STB_VORBIS_HEADER_ONLY
#include <fcntl.h>
#include <stb_vorbis.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <thread>
#include <vector>

namespace {

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

void report(const std::string& line) {
    std::fprintf(stderr, "velmora-record: %s\n", line.c_str());
}

// What the two feeding threads found.
struct FeedState {
    std::atomic<bool> stop{false};
    std::atomic<bool> encoderGone{false};
    std::atomic<bool> rawFramesFailed{false};
    std::atomic<long long> framesWritten{0};
};

// Hands the frames to the encoder (and the raw file and the sheet).
void feedFrames(FrameQueue& queue, EncoderProcess& encoder, std::FILE* rawFrames,
                ContactSheet& sheet, int frameWidth, int frameHeight, bool fullChroma,
                FeedState& state) {
    std::vector<std::uint8_t> yuv(fullChroma ? yuv444Bytes(frameWidth, frameHeight)
                                             : yuv420Bytes(frameWidth, frameHeight));
    const auto convert = fullChroma ? rgbaToYuv444 : rgbaToYuv420;
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
            convert(frame->pixels.data(), frameWidth, frameHeight, yuv.data());
            if (!encoder.writeFrame(yuv.data(), yuv.size())) {
                state.encoderGone = true;
                state.stop = true;
            }
            ++state.framesWritten;
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

// Opens the raw frames' file without waiting: a FIFO with no reader
// fails at once instead of holding the recorder.
std::FILE* openRawFrames(const std::string& path) {
    const int descriptor =
        open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NONBLOCK, 0644);
    if (descriptor < 0) {
        return nullptr;
    }
    fcntl(descriptor, F_SETFL, fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);
    std::FILE* file = fdopen(descriptor, "wb");
    if (file == nullptr) {
        close(descriptor);
    }
    return file;
}

// Ends a recording that did not succeed: neither file is left, then the line.
int fail(PartialFile& video, PartialFile& sheet, int status, const std::string& line) {
    video.discard();
    sheet.discard();
    if (status == recordInterrupted) {
        std::fprintf(stderr, "%s\n", recordInterruptedLine);
    } else {
        report(line);
    }
    return status;
}

} // namespace

int recordShow(IntroApp& app, const RecordOptions& options, PartialFile& video,
               PartialFile& sheetFile, StopSignals& stopSignals) {
    std::string error;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> rawFrames(nullptr, std::fclose);
    if (!options.rawFramesPath.empty()) {
        rawFrames.reset(openRawFrames(options.rawFramesPath));
        if (!rawFrames) {
            return fail(video, sheetFile, recordFailed,
                        "cannot write " + options.rawFramesPath + ": " + std::strerror(errno));
        }
    }

    // The sound starts from the music's beginning, as in the live show.
    if (app.decoder != nullptr) {
        stb_vorbis_seek_start(app.decoder);
    }

    const int frameWidth = options.width;
    const int frameHeight = options.height;
    FrameCapture capture(frameWidth, frameHeight, readBackLag);
    if (!capture.complete()) {
        return fail(video, sheetFile, recordFailed,
                    "the GL cannot draw into an off-screen framebuffer of " +
                        std::to_string(frameWidth) + "x" + std::to_string(frameHeight));
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
    settings.quality = options.quality;
    settings.outputPath = video.temporaryPath();
    std::unique_ptr<EncoderProcess> encoder = EncoderProcess::start(settings, error);
    if (!encoder) {
        return fail(video, sheetFile, recordFailed, error);
    }

    FrameQueue queue(capture.frameBytes(), queuedFrames);
    ContactSheet sheet(frameWidth, frameHeight, frameCount, rate);
    FeedState state;
    std::thread frameFeeder(feedFrames, std::ref(queue), std::ref(*encoder), rawFrames.get(),
                            std::ref(sheet), frameWidth, frameHeight,
                            fullChromaFor(options.quality), std::ref(state));
    std::thread soundFeeder(feedSound, std::ref(app), std::ref(*encoder),
                            soundFrames * soundFrameBytes, std::ref(state));
    // A stop signal unblocks every wait below: the queue (the drawing waits
    // for a free buffer) and the encoder's pipes (the feeders wait on them).
    const ScopedStopAction unblock(stopSignals, [&queue, &encoder] {
        queue.close();
        encoder->interrupt();
    });

    // Progress is what the encoder reports done (it runs behind the drawing
    // by its queue and its look-ahead), or what it was given when it does
    // not report.
    ProgressReport progress(frameCount, stderr);
    const auto framesDone = [&encoder, &state] {
        const long long encoded = encoder->framesEncoded();
        return encoded >= 0 ? std::min(encoded, state.framesWritten.load())
                            : state.framesWritten.load();
    };
    int handedOver = 0;
    const auto handOver = [&] {
        std::optional<QueuedFrame> frame = queue.takeEmpty();
        if (!frame) {
            return false;
        }
        frame->index = handedOver++;
        if (!capture.takeOldest(frame->pixels.data())) {
            error = "cannot map a frame read back from the GL";
            state.stop = true;
        }
        queue.giveFilled(std::move(*frame));
        return true;
    };
    for (int frame = 0; frame < frameCount && !state.stop && !stopSignals.requested(); ++frame) {
        app.showClock = showClockFromTicks(frameTicks(frame, rate));
        capture.bind();
        app.renderFrame();
        capture.startReadBack();
        while (capture.frameReady(false) && handOver()) {
        }
        progress.update(framesDone());
    }
    while (!stopSignals.requested() && !state.stop && capture.frameReady(true) && handOver()) {
    }

    const bool interrupted = stopSignals.requested();
    if (interrupted || state.rawFramesFailed || !error.empty()) {
        // Unblock both feeders: the encoder goes, so their writes fail.
        state.stop = true;
        encoder->stop();
    }
    queue.close();
    frameFeeder.join();
    soundFeeder.join();

    if (interrupted || state.rawFramesFailed || !error.empty()) {
        progress.finish(framesDone());
        return fail(video, sheetFile, interrupted ? recordInterrupted : recordFailed,
                    state.rawFramesFailed
                        ? "cannot write the raw frames to " + options.rawFramesPath
                        : error);
    }
    // The encoder's exit status says why it stopped reading, if it did.
    const bool finished = encoder->finish(
        [&] {
            progress.update(framesDone());
            return stopSignals.requested();
        },
        error);
    progress.finish(framesDone());
    if (!finished) {
        return fail(video, sheetFile, stopSignals.requested() ? recordInterrupted : recordFailed,
                    error);
    }
    if (state.encoderGone) {
        return fail(video, sheetFile, recordFailed, "the encoder stopped reading before the end");
    }
    // Its status is not enough: check what it wrote.
    const double length = frameTicks(frameCount, rate) / millisecondsPerSecond;
    if (!checkMp4File(video.temporaryPath(), Mp4Expectation{frameCount, length}, error)) {
        std::string line = "the encoder did not write a whole video: " + error;
        if (const std::string said = encoder->lastMessage(); !said.empty()) {
            line += " (the encoder said: " + said + ")";
        }
        return fail(video, sheetFile, recordFailed, line);
    }
    const std::vector<std::uint8_t> png = sheet.png();
    if (png.empty()) {
        return fail(video, sheetFile, recordFailed, "cannot make the contact sheet");
    }
    // The sheet goes in first: should the video's rename then fail, the
    // sheet is taken back and nothing is left.
    if (!sheetFile.write(png.data(), png.size(), error) || !sheetFile.flush(error) ||
        !video.flush(error) || !sheetFile.commit(error) || !video.commit(error)) {
        return fail(video, sheetFile, recordFailed, error);
    }
    std::fprintf(stderr, "velmora-record: wrote %s (%d frames, %.1f s) and %s in %.1f s\n",
                 video.finalPath().c_str(), frameCount, length, sheetFile.finalPath().c_str(),
                 progress.elapsedSeconds());
    return recordSucceeded;
}
