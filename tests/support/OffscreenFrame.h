#pragma once
// The show drawn off-screen at any size, for looking at frames and measuring
// them. renderFrame() draws into whatever framebuffer is bound, so binding
// one of the wanted size first, with the viewport at the picture's 4:3
// rectangle in it, gives what a window of that size shows: the show's own
// drawing at that size, not a scaled 800x600 picture.
//
// The GL context must be current for every call, the destructor included.
#include "render/GlApi.h"

#include <vector>

class OffscreenFrame {
public:
    // Colour and depth in the window's formats: 8-bit RGBA, 24-bit depth.
    OffscreenFrame(int width, int height);
    ~OffscreenFrame();
    OffscreenFrame(const OffscreenFrame&) = delete;
    OffscreenFrame& operator=(const OffscreenFrame&) = delete;

    // False when GL cannot make a complete framebuffer of this size.
    bool complete() const { return complete_; }
    int width() const { return width_; }
    int height() const { return height_; }

    // Makes this the target of drawing and reading, the viewport the picture.
    void bind();
    // Back to the window's framebuffer and the viewport in place at bind().
    void unbind();
    // The bound frame as RGB bytes, the bottom row first.
    std::vector<unsigned char> readRgb() const;

private:
    int width_;
    int height_;
    bool complete_ = false;
    GLuint framebuffer_ = 0;
    GLuint colourBuffer_ = 0;
    GLuint depthBuffer_ = 0;
    GLint viewportBefore_[4] = {};
};
