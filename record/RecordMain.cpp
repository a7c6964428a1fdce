// velmora-record: records the show, picture and sound, to an MP4 file and a
// contact sheet, frame by frame at fixed show times, as fast as the machine
// allows. Needs a display (a virtual one will do) and Debian's ffmpeg.
#include "app/IntroApp.h"
#include "app/StandardStreams.h"
#include "record/ExitCleanup.h"
#include "record/OutputPath.h"
#include "record/PartialFile.h"
#include "record/RecordOptions.h"
#include "record/Recorder.h"
#include "record/StopSignals.h"

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

int main(int argc, char* argv[]) {
    // Closed standard descriptors, before any file is opened: with
    // descriptor 2 closed, the display connection would take its number and
    // the progress would be written into it.
    prepareStandardStreams();

    // The options.
    std::string error;
    const std::optional<RecordOptions> options = parseRecordOptions(argc - 1, argv + 1, error);
    if (!options) {
        std::fprintf(stderr, "velmora-record: %s\n%s", error.c_str(), recordUsage);
        return recordBadUsage;
    }
    if (options->helpRequested) {
        std::fputs(recordUsage, stdout);
        return recordSucceeded;
    }

    // Ctrl-C and the like become a clean stop, and nothing of ours outlives
    // the process however it ends; this comes before any thread.
    exitCleanup::install();
    StopSignals stopSignals(recordInterruptedLine, recordInterrupted);

    // Where the video and its contact sheet go, checked before anything is
    // drawn: a folder, a device, a name too long or a folder that cannot be
    // written fails now rather than after the whole recording.
    const std::optional<std::string> videoPath = resolveOutputPath(options->outputPath, error);
    const std::optional<std::string> sheetPath =
        videoPath ? resolveOutputPath(contactSheetPath(options->outputPath), error) : std::nullopt;
    std::optional<PartialFile> video, sheet;
    if (sheetPath) {
        video.emplace(*videoPath, "video");
        sheet.emplace(*sheetPath, "sheet");
    }
    if (!sheetPath || !video->create(error) || !sheet->create(error)) {
        std::fprintf(stderr, "velmora-record: %s\n", error.c_str());
        return recordFailed;
    }

    // The show, started as the live program starts it. The device it opens
    // plays nowhere and is closed at once: the recorder pulls the sound.
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    IntroApp app;
    if (app.init() != 0) {
        std::fprintf(stderr, "velmora-record: the show could not start (it needs a display "
                             "and OpenGL 3.3)\n");
        return recordFailed;
    }
    SDL_CloseAudio();

    // Frames, sound, encoder, contact sheet (a stop during start-up ends it here).
    int status = recordInterrupted;
    if (stopSignals.requested()) {
        std::fprintf(stderr, "%s\n", recordInterruptedLine);
    } else {
        status = recordShow(app, *options, *video, *sheet, stopSignals);
    }
    stopSignals.done();
    return status;
}
