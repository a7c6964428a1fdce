// velmora-record: records the show, picture and sound, to an MP4 file and a
// contact sheet, frame by frame at fixed show times, as fast as the machine
// allows. Needs a display (a virtual one will do) and Debian's ffmpeg.
#include "app/IntroApp.h"
#include "record/RecordOptions.h"
#include "record/Recorder.h"
#include "record/StopSignals.h"

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char* argv[]) {
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

    // Ctrl-C and the like become a clean stop; this comes before any thread.
    const StopSignals stopSignals;

    // Refuse an output folder that cannot be written before starting anything.
    if (!outputsWritable(options->outputPath, error)) {
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

    // Frames, sound, encoder, contact sheet.
    return recordShow(app, *options, stopSignals);
}
