#pragma once
// The encoder: Debian's `ffmpeg` program in a child process of its own. It
// reads raw YUV frames (ColourConversion.h) on one pipe and
// raw interleaved signed 16-bit little-endian sound on another, and writes an
// MP4 with H.264 (4:2:0 for draft, 4:4:4 for release) and AAC whose index
// sits at the front.
//
// Threads: writeFrame/endFrames may run on one thread and writeSound/endSound
// on another while the owner waits; start, finish and stop belong to the
// owning thread. A thread inside this object drains the encoder's messages
// and its progress reports.
//
// The child runs in its own process group, so a Ctrl-C at the terminal
// reaches only the recorder, which then stops the encoder itself; it is
// killed when the recorder's process ends, however it ends (its group is
// also in ExitCleanup's record until it is reaped).
// It runs at a lower priority than the recorder (nice), behind the drawing.
//
// Failures: start() returns null with a reason when the program cannot be
// run; the writes return false once the encoder no longer reads (it exited or
// was stopped); finish() returns false with the encoder's last message when
// it did not end with status 0.
#include "record/RecordOptions.h"

#include <sys/types.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

// Whether a quality's frames carry a chroma sample per pixel (YUV 4:4:4)
// rather than per 2x2 block (4:2:0).
bool fullChromaFor(RecordQuality quality);

struct EncoderSettings {
    int width = 0;
    int height = 0;
    int framesPerSecond = 0;
    int sampleRate = 0;
    int channels = 0;
    RecordQuality quality = RecordQuality::draft;
    std::string outputPath; // written as MP4 whatever its name
};

class EncoderProcess {
public:
    // Starts the encoder. Returns null with `error` set when it cannot.
    static std::unique_ptr<EncoderProcess> start(const EncoderSettings& settings,
                                                 std::string& error);
    // Stops an encoder still running and reaps it.
    ~EncoderProcess();
    EncoderProcess(const EncoderProcess&) = delete;
    EncoderProcess& operator=(const EncoderProcess&) = delete;

    // Blocking writes of whole buffers. False when the encoder stopped reading.
    bool writeFrame(const std::uint8_t* bytes, std::size_t size);
    bool writeSound(const std::uint8_t* bytes, std::size_t size);
    // No more frames / no more sound: closes that pipe.
    void endFrames();
    void endSound();

    // Waits for the encoder to finish the file, asking `stopRequested` every
    // few milliseconds; when it says yes the encoder is stopped. Returns true
    // only when the encoder exited with status 0 and no stop was requested;
    // otherwise `error` says why.
    bool finish(const std::function<bool()>& stopRequested, std::string& error);

    // Kills the encoder and its process group at once and reaps it (its
    // writes then fail). Idempotent.
    void stop();

    // Kills the encoder's process group, without waiting: the one call
    // that may come from any thread (the stop action of StopSignals), to
    // unblock the writers.
    void interrupt();

    // The last line the encoder wrote to its standard error, if any.
    std::string lastMessage();

    // Frames the encoder reports it has encoded; -1 until it first reports
    // (whatever stands in for it may never). Any thread.
    long long framesEncoded() const { return framesEncoded_; }

private:
    EncoderProcess() = default;
    void drainOutputs();

    pid_t child_ = -1;
    std::atomic<pid_t> group_{0};
    int frameDescriptor_ = -1;
    int soundDescriptor_ = -1;
    int messageDescriptor_ = -1;
    int progressDescriptor_ = -1;
    std::atomic<long long> framesEncoded_{-1};
    std::thread outputReader_;
    std::mutex messageMutex_;
    std::string messages_;
};
