#include "support/ConsoleCapture.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

StdoutCapture::StdoutCapture() {
    char name[] = "/tmp/velmora-stdout-XXXXXX";
    const int fd = mkstemp(name);
    path = name;
    std::fflush(stdout);
    savedStdout = dup(STDOUT_FILENO);
    dup2(fd, STDOUT_FILENO);
    close(fd);
}

std::string StdoutCapture::finish() {
    if (finished) {
        return {};
    }
    finished = true;
    std::fflush(stdout);
    dup2(savedStdout, STDOUT_FILENO);
    close(savedStdout);
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    unlink(path.c_str());
    return text.str();
}

StdoutCapture::~StdoutCapture() {
    finish();
}

StdinFeed::StdinFeed(const std::string& text) {
    int fds[2];
    if (pipe(fds) != 0) {
        std::abort();
    }
    if (write(fds[1], text.data(), text.size()) != static_cast<ssize_t>(text.size())) {
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
