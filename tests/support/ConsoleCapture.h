#pragma once
// Captures what the code under test prints on standard output, and feeds its
// standard input, through the real file descriptors (the code uses printf and
// getchar).
#include <string>

class StdoutCapture {
public:
    StdoutCapture();
    ~StdoutCapture();
    StdoutCapture(const StdoutCapture&) = delete;
    StdoutCapture& operator=(const StdoutCapture&) = delete;
    // Stops capturing and returns everything printed since construction.
    std::string finish();

private:
    int savedStdout = -1;
    std::string path;
    bool finished = false;
};

// Replaces standard input with a pipe holding `text` until destruction.
class StdinFeed {
public:
    explicit StdinFeed(const std::string& text);
    ~StdinFeed();
    StdinFeed(const StdinFeed&) = delete;
    StdinFeed& operator=(const StdinFeed&) = delete;

private:
    int savedStdin = -1;
};
