#pragma once
// Start-up steps that end the show before its first frame are told to the
// user: one line on standard error saying what could not be set up and why.
// A program started from a Windows desktop has no console, and SDL's entry
// layer there reports success to the system whatever main returns, so on
// Windows the line also appears in a message box.
//
// Main thread only. Never fails: output errors are ignored.
#include <string>

// Below this many descriptors a process cannot open a GL window at all
// (the display connection, the GL driver's device and its libraries each
// take some), so a failure line says how few there were.
constexpr long fewOpenFiles = 64;

// "<what>: <reason>", followed by a note on the limit when `openFileLimit`
// is above 0 and below fewOpenFiles.
std::string startupFailureLine(const std::string& what, const std::string& reason,
                               long openFileLimit);

// The process's limit on open files, or 0 when there is none or it cannot
// be read.
long currentOpenFileLimit();

// Writes startupFailureLine(what, reason, the current limit) to standard
// error, and on Windows shows it in a message box too.
void reportStartupFailure(const std::string& what, const std::string& reason);
