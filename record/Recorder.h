#pragma once
// Records the show into an MP4 and a contact sheet.
//
// Frame k is drawn by the show's own renderFrame() at the timer reading
// round(k x 1000 / rate) ms, into an off-screen framebuffer, and read back a
// couple of frames later; a second thread feeds the frames to the encoder
// (another process) while the next ones are drawn. The sound is the show's
// own audio callback pulling 4096-byte buffers from the show's decoder, on a
// third thread, with the music starting at musicStartMs of show time. The
// result does not depend on how fast the machine is.
//
// Threads: call on the thread whose GL context `app` made current, after
// app.init() and before any other thread touches `app`. The live audio
// device must be closed: the recorder is then the only reader of the
// decoder.
//
// Output: the video and the sheet are written under temporary names and
// renamed into place only when the video is checked whole (Mp4Check) and
// both are on disk. Progress goes to standard error; so does one line for
// a failure.
#include "app/IntroApp.h"
#include "record/PartialFile.h"
#include "record/RecordOptions.h"
#include "record/StopSignals.h"

// Exit statuses of the recorder.
constexpr int recordSucceeded = 0;
constexpr int recordFailed = 1;
constexpr int recordBadUsage = 2;
constexpr int recordInterrupted = 130;

// The line for a recording stopped by a signal.
constexpr const char* recordInterruptedLine = "velmora-record: interrupted; nothing was written";

// Records into `video` and `sheet`, both already created. Returns one of the
// statuses above, after printing one line when it did not succeed; on
// failure neither file is left, under either name.
int recordShow(IntroApp& app, const RecordOptions& options, PartialFile& video, PartialFile& sheet,
               StopSignals& stopSignals);
