#include "app/StartupFailure.h"

#include "base/ShowConstants.h"

#include <SDL.h>

#ifndef _WIN32
#include <sys/resource.h>
#endif

#include <cstdio>

std::string startupFailureLine(const std::string& what, const std::string& reason,
                               long openFileLimit) {
    std::string line = what + ": " + reason;
    if (openFileLimit > 0 && openFileLimit < fewOpenFiles) {
        line +=
            " (the process may open only " + std::to_string(openFileLimit) + " files at a time)";
    }
    return line;
}

long currentOpenFileLimit() {
#ifdef _WIN32
    return 0;
#else
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) {
        return 0;
    }
    return static_cast<long>(limit.rlim_cur);
#endif
}

void reportStartupFailure(const std::string& what, const std::string& reason) {
    const std::string line = startupFailureLine(what, reason, currentOpenFileLimit());
    std::fprintf(stderr, "%s\n", line.c_str());
#ifdef _WIN32
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, windowTitle, line.c_str(), nullptr);
#endif
}
