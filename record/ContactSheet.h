#pragma once
// The recording's contact sheet: the first frame at or after every 4 s of
// show time, shrunk to a quarter of its size, laid out in rows of seven,
// each with its time under it ("m:ss", then the show clock t), written as
// one PNG.
//
// Threads: add() and wants() may run on one thread while nothing else uses
// the sheet; write() after that thread is done. Frames come as RGBA bytes,
// bottom row first, as GL reads them.
#include <cstdint>
#include <string>
#include <vector>

class ContactSheet {
public:
    ContactSheet(int frameWidth, int frameHeight, int frameCount, int framesPerSecond);

    bool wants(int frameIndex) const;
    // Shrinks the frame into its cell and labels it; other frames are ignored.
    void add(int frameIndex, const std::uint8_t* rgbaBottomUp);
    // The sheet as PNG bytes; empty when they cannot be made (no memory).
    std::vector<std::uint8_t> png() const;

    int width() const { return sheetWidth_; }
    int height() const { return sheetHeight_; }

private:
    void drawLabel(const std::string& text, int left, int baseline);

    int frameWidth_;
    int frameHeight_;
    int framesPerSecond_;
    std::vector<int> frameIndices_;
    int columns_;
    int sheetWidth_;
    int sheetHeight_;
    std::vector<std::uint8_t> rgb_;
};
