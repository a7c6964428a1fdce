#pragma once
// The recording's contact sheet: one frame from the middle of every unit
// of the show clock (every 4 s, at t = -0.5, 0.5, ...: a whole cycle gives
// 28 frames, each greeted name in the middle of its time, in its own
// colour), shrunk to 200 pixels across, laid out in rows of seven, each
// with its time under it ("m:ss", then the show clock t), made into one PNG.
// A recording shorter than half a unit shows its first frame.
//
// Threads: add() and wants() may run on one thread while nothing else uses
// the sheet; png() after that thread is done. Frames come as RGBA bytes,
// bottom row first, as GL reads them.
#include <cstdint>
#include <string>
#include <vector>

class ContactSheet {
public:
    ContactSheet(int frameWidth, int frameHeight, int frameCount, int framesPerSecond);

    // The frames the sheet shows, in order, and whether it wants one.
    const std::vector<int>& frames() const { return frameIndices_; }
    bool wants(int frameIndex) const;
    // Shrinks the frame into its cell and labels it; other frames are ignored.
    void add(int frameIndex, const std::uint8_t* rgbaBottomUp);
    // The sheet as PNG bytes; empty when they cannot be made (no memory).
    std::vector<std::uint8_t> png() const;

    int width() const { return sheetWidth_; }
    int height() const { return sheetHeight_; }

    // The label under a frame drawn at `ticks` ms of show time.
    static std::string label(std::uint32_t ticks);

private:
    void drawLabel(const std::string& text, int left, int baseline);

    int frameWidth_;
    int frameHeight_;
    int cellHeight_ = 0;
    int framesPerSecond_;
    std::vector<int> frameIndices_;
    int columns_;
    int sheetWidth_;
    int sheetHeight_;
    std::vector<std::uint8_t> rgb_;
};
