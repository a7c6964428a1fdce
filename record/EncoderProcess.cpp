#include "record/EncoderProcess.h"

#include "record/ExitCleanup.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <vector>

extern char** environ;

namespace {

constexpr const char* encoderProgram = "ffmpeg";
// Where the child finds its two inputs.
constexpr int childFrameDescriptor = 3;
constexpr int childSoundDescriptor = 4;
// Where it reports its progress.
constexpr int childProgressDescriptor = 5;
constexpr const char* progressPeriodSeconds = "0.5";
// Our own descriptors are moved above these before the child's are laid out,
// so that no dup2 in the child overwrites a descriptor still to be copied.
constexpr int firstFreeDescriptor = 10;
// How each quality encodes: x264 at constant quality, and AAC.
struct Encoding {
    const char* pixelFormat;
    const char* preset;
    const char* constantQuality; // x264's CRF: lower keeps more
    std::vector<std::string> extra;
    const char* soundBitRate;
};

Encoding encodingFor(RecordQuality quality) {
    if (quality == RecordQuality::release) {
        // For uploading: a video site encodes again, so this one should
        // lose as little as can be seen or measured (DEVELOPERS.md has the
        // figures). A chroma sample per pixel (High 4:4:4), constant
        // quality 14, and adaptive quantisation that spends more on the
        // dark areas, where the vignette's gradients would otherwise show
        // blocks; the "fast" preset gives the same quality as slower ones
        // within a tenth of a dB. AAC at 384 kb/s, what such sites ask of
        // stereo uploads.
        return {"yuv444p",
                "fast",
                "14",
                {"-profile:v", "high444", "-x264-params", "aq-mode=3"},
                "384k"};
    }
    // Quick, 4:2:0 for any player: 18 is visually lossless for this show at
    // a glance; the preset was chosen by measuring (see scripts/bench).
    return {"yuv420p", "ultrafast", "18", {}, "192k"};
}
// How much lower than the recorder the encoder runs. It works from a queue of
// frames, while the recorder waits for each frame it draws: given the
// processors first, the drawing finishes sooner, and the encoder catches up
// in the time the drawing leaves (on two cores a cycle records about a tenth
// faster). Nothing starves: a full queue stops the drawing.
constexpr int encoderNiceness = 10;
// The encoder's messages kept for the failure line.
constexpr std::size_t keptMessageBytes = 4096;
constexpr int framePipeBytes = 1 << 20;
constexpr auto exitPollInterval = std::chrono::milliseconds(20);
// The child's status when the encoder cannot be run (as a shell's).
constexpr int exitStatusCannotRun = 127;

// The program's path, searched in PATH as a shell would; nullopt when no
// directory there holds it as an executable file.
std::optional<std::string> findProgram(const std::string& name) {
    const char* searchPath = std::getenv("PATH");
    const std::string directories = searchPath != nullptr ? searchPath : "/usr/bin:/bin";
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = directories.find(':', start);
        std::string directory = directories.substr(start, end - start);
        if (directory.empty()) {
            directory = ".";
        }
        const std::string candidate = directory + "/" + name;
        struct stat status {};
        if (stat(candidate.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
            access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
        if (end == std::string::npos) {
            return std::nullopt;
        }
        start = end + 1;
    }
}

int moveAbove(int descriptor) {
    const int moved = fcntl(descriptor, F_DUPFD_CLOEXEC, firstFreeDescriptor);
    close(descriptor);
    return moved;
}

bool writeAll(int descriptor, const std::uint8_t* bytes, std::size_t size) {
    while (size > 0) {
        const ssize_t written = write(descriptor, bytes, size);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

void closeOnce(int& descriptor) {
    if (descriptor >= 0) {
        close(descriptor);
        descriptor = -1;
    }
}

std::vector<std::string> encoderArguments(const EncoderSettings& settings) {
    const std::string size = std::to_string(settings.width) + "x" + std::to_string(settings.height);
    const Encoding encoding = encodingFor(settings.quality);
    std::vector<std::string> arguments = {
        encoderProgram, "-nostdin", "-hide_banner", "-loglevel", "error", "-y", "-progress",
        "pipe:" + std::to_string(childProgressDescriptor), "-stats_period", progressPeriodSeconds,
        // The frames, already in the encoder's own format.
        "-f", "rawvideo", "-pixel_format", encoding.pixelFormat, "-video_size", size, "-framerate",
        std::to_string(settings.framesPerSecond), "-i",
        "pipe:" + std::to_string(childFrameDescriptor),
        // The sound, as the audio callback writes it.
        "-f", "s16le", "-sample_rate", std::to_string(settings.sampleRate), "-channels",
        std::to_string(settings.channels), "-i", "pipe:" + std::to_string(childSoundDescriptor),
        "-map", "0:v", "-map", "1:a",
        // Tagged as what ColourConversion makes.
        "-color_range", "tv", "-color_primaries", "bt709", "-color_trc", "bt709", "-colorspace",
        "bt709", "-c:v", "libx264", "-preset", encoding.preset, "-crf", encoding.constantQuality};
    arguments.insert(arguments.end(), encoding.extra.begin(), encoding.extra.end());
    const std::vector<std::string> rest = {
        "-c:a", "aac", "-b:a", encoding.soundBitRate,
        // The index at the front, so that playback can start before the end arrives.
        "-movflags", "+faststart", "-f", "mp4", settings.outputPath};
    arguments.insert(arguments.end(), rest.begin(), rest.end());
    return arguments;
}

} // namespace

bool fullChromaFor(RecordQuality quality) {
    return std::string(encodingFor(quality).pixelFormat) == "yuv444p";
}

std::unique_ptr<EncoderProcess> EncoderProcess::start(const EncoderSettings& settings,
                                                      std::string& error) {
    // Everything the child needs is made here: between fork and exec it may
    // only make async-signal-safe calls (other threads' locks may be held).
    const std::optional<std::string> program = findProgram(encoderProgram);
    if (!program) {
        error = std::string("cannot run the encoder '") + encoderProgram +
                "': " + std::strerror(ENOENT) + " (it comes with Debian's ffmpeg package)";
        return nullptr;
    }
    const std::vector<std::string> arguments = encoderArguments(settings);
    std::vector<char*> argv;
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);

    int framePipe[2], soundPipe[2], messagePipe[2], progressPipe[2], execPipe[2];
    if (pipe2(framePipe, O_CLOEXEC) != 0 || pipe2(soundPipe, O_CLOEXEC) != 0 ||
        pipe2(messagePipe, O_CLOEXEC) != 0 || pipe2(progressPipe, O_CLOEXEC) != 0 ||
        pipe2(execPipe, O_CLOEXEC) != 0) {
        error = std::string("cannot make pipes for the encoder: ") + std::strerror(errno);
        return nullptr;
    }
    for (int* descriptor :
         {&framePipe[0], &framePipe[1], &soundPipe[0], &soundPipe[1], &messagePipe[0],
          &messagePipe[1], &progressPipe[0], &progressPipe[1], &execPipe[0], &execPipe[1]}) {
        *descriptor = moveAbove(*descriptor);
    }
    // A frame crosses in a few large writes instead of dozens of small ones;
    // a smaller pipe still works, only slower.
    fcntl(framePipe[1], F_SETPIPE_SZ, framePipeBytes);

    // Best effort: at the same priority it only records more slowly.
    errno = 0;
    const int recorderNiceness = getpriority(PRIO_PROCESS, 0);
    const bool lowerPriority = errno == 0;
    const pid_t parent = getpid();

    const pid_t child = fork();
    if (child == 0) {
        // A process group of its own: a Ctrl-C at the terminal reaches only
        // the recorder, which then ends the whole group. And it dies with the
        // recorder, however the recorder ends (the check covers a recorder
        // that died before the request was made).
        setpgid(0, 0);
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent) {
            _exit(exitStatusCannotRun);
        }
        const int devNull = open("/dev/null", O_RDWR);
        dup2(devNull, 0);
        dup2(devNull, 1);
        dup2(messagePipe[1], 2);
        dup2(framePipe[0], childFrameDescriptor);
        dup2(soundPipe[0], childSoundDescriptor);
        dup2(progressPipe[1], childProgressDescriptor);
        // The recorder holds its stop signals and SIGPIPE (StopSignals); the
        // encoder gets the usual behaviour back.
        sigset_t none;
        sigemptyset(&none);
        sigprocmask(SIG_SETMASK, &none, nullptr);
        if (lowerPriority) {
            setpriority(PRIO_PROCESS, 0, recorderNiceness + encoderNiceness);
        }
        execve(program->c_str(), argv.data(), environ);
        const int reason = errno;
        [[maybe_unused]] const ssize_t told = write(execPipe[1], &reason, sizeof reason);
        _exit(exitStatusCannotRun);
    }
    close(framePipe[0]);
    close(soundPipe[0]);
    close(messagePipe[1]);
    close(progressPipe[1]);
    close(execPipe[1]);
    if (child < 0) {
        error = std::string("cannot start the encoder: ") + std::strerror(errno);
        for (const int descriptor :
             {framePipe[1], soundPipe[1], messagePipe[0], progressPipe[0], execPipe[0]}) {
            close(descriptor);
        }
        return nullptr;
    }
    // The same group set from this side too, so that it exists before any
    // kill of the group, whichever process runs first.
    setpgid(child, child);
    exitCleanup::watchProcessGroup(child);

    std::unique_ptr<EncoderProcess> encoder(new EncoderProcess());
    encoder->child_ = child;
    encoder->group_ = child;
    encoder->frameDescriptor_ = framePipe[1];
    encoder->soundDescriptor_ = soundPipe[1];
    encoder->messageDescriptor_ = messagePipe[0];
    encoder->progressDescriptor_ = progressPipe[0];

    // The exec pipe closes on a successful exec, or brings the reason it failed.
    int reason = 0;
    ssize_t got = 0;
    while ((got = read(execPipe[0], &reason, sizeof reason)) < 0 && errno == EINTR) {
    }
    close(execPipe[0]);
    if (got == sizeof reason) {
        error = std::string("cannot run the encoder '") + *program + "': " + std::strerror(reason);
        return nullptr; // the destructor reaps the child
    }
    encoder->outputReader_ = std::thread(&EncoderProcess::drainOutputs, encoder.get());
    return encoder;
}

EncoderProcess::~EncoderProcess() {
    stop();
    closeOnce(frameDescriptor_);
    closeOnce(soundDescriptor_);
    if (outputReader_.joinable()) {
        outputReader_.join();
    }
    closeOnce(messageDescriptor_);
    closeOnce(progressDescriptor_);
}

bool EncoderProcess::writeFrame(const std::uint8_t* bytes, std::size_t size) {
    return writeAll(frameDescriptor_, bytes, size);
}

bool EncoderProcess::writeSound(const std::uint8_t* bytes, std::size_t size) {
    return writeAll(soundDescriptor_, bytes, size);
}

void EncoderProcess::endFrames() {
    closeOnce(frameDescriptor_);
}

void EncoderProcess::endSound() {
    closeOnce(soundDescriptor_);
}

void EncoderProcess::drainOutputs() {
    // Both of the encoder's outputs until both are closed: its messages
    // (kept for the failure line) and its progress reports, lines of
    // key=value of which "frame=N" counts the frames encoded so far.
    pollfd outputs[] = {{messageDescriptor_, POLLIN, 0}, {progressDescriptor_, POLLIN, 0}};
    std::string progressLine;
    char chunk[1024];
    while (outputs[0].fd >= 0 || outputs[1].fd >= 0) {
        if (poll(outputs, 2, -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            return;
        }
        for (pollfd& output : outputs) {
            if (output.fd < 0 || output.revents == 0) {
                continue;
            }
            const ssize_t got = read(output.fd, chunk, sizeof chunk);
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got <= 0) {
                output.fd = -1; // poll skips it from now on
                continue;
            }
            if (output.fd == messageDescriptor_) {
                const std::lock_guard<std::mutex> lock(messageMutex_);
                messages_.append(chunk, static_cast<std::size_t>(got));
                if (messages_.size() > keptMessageBytes) {
                    messages_.erase(0, messages_.size() - keptMessageBytes);
                }
                continue;
            }
            for (ssize_t i = 0; i < got; ++i) {
                if (chunk[i] != '\n') {
                    progressLine += chunk[i];
                    continue;
                }
                if (progressLine.rfind("frame=", 0) == 0) {
                    framesEncoded_ = std::atoll(progressLine.c_str() + 6);
                }
                progressLine.clear();
            }
        }
    }
}

std::string EncoderProcess::lastMessage() {
    const std::lock_guard<std::mutex> lock(messageMutex_);
    std::string text = messages_;
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) {
        text.pop_back();
    }
    const std::size_t lineStart = text.find_last_of("\r\n");
    return lineStart == std::string::npos ? text : text.substr(lineStart + 1);
}

bool EncoderProcess::finish(const std::function<bool()>& stopRequested, std::string& error) {
    int status = 0;
    for (;;) {
        const pid_t reaped = waitpid(child_, &status, WNOHANG);
        if (reaped == child_) {
            child_ = -1;
            // Anything the encoder left running in its group goes too.
            interrupt();
            group_ = 0;
            exitCleanup::watchProcessGroup(0);
            break;
        }
        if (reaped < 0 && errno != EINTR) {
            error = std::string("lost the encoder: ") + std::strerror(errno);
            child_ = -1;
            return false;
        }
        if (stopRequested()) {
            stop();
            error = "interrupted";
            return false;
        }
        std::this_thread::sleep_for(exitPollInterval);
    }
    if (outputReader_.joinable()) {
        outputReader_.join();
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0) {
        return true;
    }
    const std::string message = lastMessage();
    error = WIFEXITED(status)
                ? "the encoder failed (status " + std::to_string(WEXITSTATUS(status)) + ")"
                : "the encoder was killed by signal " + std::to_string(WTERMSIG(status));
    if (!message.empty()) {
        error += ": " + message;
    }
    return false;
}

void EncoderProcess::interrupt() {
    const pid_t group = group_;
    if (group > 0) {
        kill(-group, SIGKILL);
    }
}

void EncoderProcess::stop() {
    if (child_ > 0) {
        interrupt();
        while (waitpid(child_, nullptr, 0) < 0 && errno == EINTR) {
        }
        child_ = -1;
        group_ = 0;
        exitCleanup::watchProcessGroup(0);
    }
}
