#include "support/StdinFeed.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>

StdinFeed::StdinFeed(const std::string& text) {
    int fds[2];
    if (pipe(fds) != 0 ||
        write(fds[1], text.data(), text.size()) != static_cast<ssize_t>(text.size())) {
        std::abort();
    }
    close(fds[1]);
    savedStdin = dup(STDIN_FILENO);
    dup2(fds[0], STDIN_FILENO);
    close(fds[0]);
    clearerr(stdin);
}

StdinFeed::~StdinFeed() {
    // Drop whatever stdio buffered from the pipe before the real input returns.
    int c = 0;
    while (c != EOF) {
        c = std::getchar();
    }
    dup2(savedStdin, STDIN_FILENO);
    close(savedStdin);
    clearerr(stdin);
}
