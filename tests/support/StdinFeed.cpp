#include "support/StdinFeed.h"

#include "support/TempFile.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>

// A file rather than a pipe, so the same code runs on Windows.
StdinFeed::StdinFeed(const std::string& text) {
    std::FILE* file = std::fopen(writeTempFile("stdin", text).c_str(), "rb");
    if (file == nullptr) {
        std::abort();
    }
    savedStdin = dup(STDIN_FILENO);
    dup2(fileno(file), STDIN_FILENO);
    std::fclose(file);
    clearerr(stdin);
}

StdinFeed::~StdinFeed() {
    // Drop whatever stdio buffered from the file before the real input returns.
    int c = 0;
    while (c != EOF) {
        c = std::getchar();
    }
    dup2(savedStdin, STDIN_FILENO);
    close(savedStdin);
    clearerr(stdin);
}
