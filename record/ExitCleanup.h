#pragma once
// What must not outlive the recorder, however it ends: the encoder's
// process group and the temporary files of an unfinished recording.
//
// The recorder's own objects remove them on every way out they see (the
// destructors of PartialFile and EncoderProcess). Two ways out skip every
// destructor: exit() called inside a library (Xlib ends the process when
// the display goes away, as a hand-run xvfb-run does first on Ctrl-C), and
// a fatal signal (a crash). So this keeps the one process-wide record of
// them, undone by an atexit handler and by a handler for the fatal signals
// that then passes the signal on to whatever handled it before (the
// default action, or a sanitizer's report).
//
// Threads: register and forget on one thread (the main thread). The undo
// uses only async-signal-safe calls (kill, unlink) and may run on any
// thread, at any time, more than once.
#include <sys/types.h>

#include <string>

namespace exitCleanup {

// Installs the atexit and fatal-signal handlers. Call once, early in main.
void install();

// The encoder's process group, killed on the way out; 0 forgets it.
void watchProcessGroup(pid_t group);

// A temporary file removed on the way out. Returns a slot for forgetFile,
// or -1 when the path is too long to keep or every slot is taken (the file
// is then only removed by its owner).
int watchFile(const std::string& path);
void forgetFile(int slot);

// Kills the watched group and removes the watched files now.
void undoAll();

} // namespace exitCleanup
