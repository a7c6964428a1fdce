#include "record/ExitCleanup.h"

#include <limits.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <cstring>

namespace exitCleanup {
namespace {

// The video and the contact sheet, with room to spare.
constexpr int fileSlots = 4;
constexpr int fatalSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};
constexpr int fatalSignalCount = sizeof fatalSignals / sizeof fatalSignals[0];

// The one process-wide record (see the header for why it must be global).
// A slot's path is written before `inUse` is set, and read only when it is.
struct Record {
    std::atomic<pid_t> group{0};
    std::atomic<bool> inUse[fileSlots] = {};
    char paths[fileSlots][PATH_MAX] = {};
    struct sigaction previous[fatalSignalCount] = {};
};
Record record;

void undoAtExit() {
    undoAll();
}

void undoOnFatalSignal(int signalNumber, siginfo_t* info, void* /*context*/) {
    undoAll();
    // Hand the signal to whoever had it before: restore that handler, then
    // either return (a fault raised by an instruction happens again, with
    // its real context) or send it again (one sent by a process or abort()).
    for (int i = 0; i < fatalSignalCount; ++i) {
        if (fatalSignals[i] == signalNumber) {
            sigaction(signalNumber, &record.previous[i], nullptr);
        }
    }
    if (info == nullptr || info->si_code <= 0) {
        raise(signalNumber);
    }
}

} // namespace

void install() {
    std::atexit(undoAtExit);
    struct sigaction action {};
    action.sa_sigaction = undoOnFatalSignal;
    action.sa_flags = SA_SIGINFO;
    sigemptyset(&action.sa_mask);
    for (int i = 0; i < fatalSignalCount; ++i) {
        sigaction(fatalSignals[i], &action, &record.previous[i]);
    }
}

void watchProcessGroup(pid_t group) {
    record.group = group;
}

int watchFile(const std::string& path) {
    if (path.size() >= PATH_MAX) {
        return -1;
    }
    for (int slot = 0; slot < fileSlots; ++slot) {
        if (!record.inUse[slot]) {
            std::memcpy(record.paths[slot], path.c_str(), path.size() + 1);
            record.inUse[slot] = true;
            return slot;
        }
    }
    return -1;
}

void forgetFile(int slot) {
    if (slot >= 0 && slot < fileSlots) {
        record.inUse[slot] = false;
    }
}

void undoAll() {
    const pid_t group = record.group.exchange(0);
    if (group > 0) {
        kill(-group, SIGKILL);
    }
    for (int slot = 0; slot < fileSlots; ++slot) {
        if (record.inUse[slot].exchange(false)) {
            unlink(record.paths[slot]);
        }
    }
}

} // namespace exitCleanup
