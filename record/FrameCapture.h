#pragma once
// Off-screen drawing and asynchronous read-back for the recorder.
//
// The show's renderFrame() draws into whatever framebuffer is bound and then
// presents the window. bind() makes a framebuffer object of ours, of any
// size, the target first, with the picture in its largest centred 4:3 part,
// so that the show is drawn at the recording's own size, and what is read
// back never depends on what a window system does at a swap. Each drawn frame is then read
// into the next of a ring of pixel buffer objects; frames are mapped and
// copied out `lag` frames later, so the read-back does not wait for the
// frame the GL is still drawing.
//
// Threads and lifetime: the GL context must be current on the calling thread
// for every call, the destructor included. Frames come out in the order they
// were read, as RGBA bytes with the bottom row first.
#include <GL/glew.h>

#include <cstddef>
#include <cstdint>
#include <vector>

class FrameCapture {
public:
    FrameCapture(int width, int height, int lag);
    ~FrameCapture();
    FrameCapture(const FrameCapture&) = delete;
    FrameCapture& operator=(const FrameCapture&) = delete;

    // False when the framebuffer could not be made complete; nothing else
    // here may be used then.
    bool complete() const { return complete_; }
    std::size_t frameBytes() const { return frameBytes_; }

    // Makes the off-screen framebuffer the target of drawing and reading.
    void bind();
    // Queues the read of the frame just drawn into the next buffer.
    void startReadBack();
    // True when more than `lag` frames wait, or any at all when `draining`.
    bool frameReady(bool draining) const;
    // Copies the oldest waiting frame to `destination` (frameBytes() bytes).
    // Returns false when no frame waits or the buffer cannot be mapped.
    bool takeOldest(std::uint8_t* destination);

private:
    int width_;
    int height_;
    int lag_;
    std::size_t frameBytes_;
    bool complete_ = false;
    GLuint framebuffer_ = 0;
    GLuint colourBuffer_ = 0;
    GLuint depthBuffer_ = 0;
    std::vector<GLuint> pixelBuffers_;
    std::size_t nextToRead_ = 0;
    std::size_t waiting_ = 0;
};
