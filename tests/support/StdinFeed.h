#pragma once
// Feeds the standard input of the code under test through the real file
// descriptor (the code reads it with getchar). Standard output is captured
// with GoogleTest's CaptureStdout, which also works on the descriptor.
#include <string>

// Replaces standard input with a file holding `text` until destruction.
class StdinFeed {
public:
    explicit StdinFeed(const std::string& text);
    ~StdinFeed();
    StdinFeed(const StdinFeed&) = delete;
    StdinFeed& operator=(const StdinFeed&) = delete;

private:
    int savedStdin = -1;
};
