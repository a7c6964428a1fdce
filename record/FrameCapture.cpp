#include "record/FrameCapture.h"

#include "render/Viewport.h"

#include <cstring>

namespace {

constexpr std::size_t bytesPerPixel = 4;

} // namespace

FrameCapture::FrameCapture(int width, int height, int lag)
    : width_(width), height_(height), lag_(lag),
      frameBytes_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) *
                  bytesPerPixel) {
    // Same formats as the window's: 8-bit RGBA colour, 24-bit depth.
    glGenRenderbuffers(1, &colourBuffer_);
    glBindRenderbuffer(GL_RENDERBUFFER, colourBuffer_);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
    glGenRenderbuffers(1, &depthBuffer_);
    glBindRenderbuffer(GL_RENDERBUFFER, depthBuffer_);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, width, height);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);

    glGenFramebuffers(1, &framebuffer_);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colourBuffer_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depthBuffer_);
    complete_ = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    glBindFramebuffer(GL_FRAMEBUFFER, 0);

    // One buffer per frame in flight, plus the one being written.
    pixelBuffers_.resize(static_cast<std::size_t>(lag) + 1);
    glGenBuffers(static_cast<GLsizei>(pixelBuffers_.size()), pixelBuffers_.data());
    for (const GLuint buffer : pixelBuffers_) {
        glBindBuffer(GL_PIXEL_PACK_BUFFER, buffer);
        glBufferData(GL_PIXEL_PACK_BUFFER, static_cast<GLsizeiptr>(frameBytes_), nullptr,
                     GL_STREAM_READ);
    }
    glBindBuffer(GL_PIXEL_PACK_BUFFER, 0);
}

FrameCapture::~FrameCapture() {
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glDeleteBuffers(static_cast<GLsizei>(pixelBuffers_.size()), pixelBuffers_.data());
    glDeleteFramebuffers(1, &framebuffer_);
    glDeleteRenderbuffers(1, &depthBuffer_);
    glDeleteRenderbuffers(1, &colourBuffer_);
}

void FrameCapture::bind() {
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    // The show's clear covers the whole framebuffer (black bars); its
    // picture goes into the 4:3 part.
    const ViewportRect picture = fitViewport(width_, height_);
    glViewport(picture.x, picture.y, picture.width, picture.height);
}

void FrameCapture::startReadBack() {
    const std::size_t slot = (nextToRead_ + waiting_) % pixelBuffers_.size();
    glBindBuffer(GL_PIXEL_PACK_BUFFER, pixelBuffers_[slot]);
    glReadBuffer(GL_COLOR_ATTACHMENT0);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width_, height_, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    glBindBuffer(GL_PIXEL_PACK_BUFFER, 0);
    ++waiting_;
}

bool FrameCapture::frameReady(bool draining) const {
    return draining ? waiting_ > 0 : waiting_ > static_cast<std::size_t>(lag_);
}

bool FrameCapture::takeOldest(std::uint8_t* destination) {
    if (waiting_ == 0) {
        return false;
    }
    glBindBuffer(GL_PIXEL_PACK_BUFFER, pixelBuffers_[nextToRead_]);
    const void* pixels = glMapBufferRange(GL_PIXEL_PACK_BUFFER, 0,
                                          static_cast<GLsizeiptr>(frameBytes_), GL_MAP_READ_BIT);
    const bool mapped = pixels != nullptr;
    if (mapped) {
        std::memcpy(destination, pixels, frameBytes_);
        glUnmapBuffer(GL_PIXEL_PACK_BUFFER);
    }
    glBindBuffer(GL_PIXEL_PACK_BUFFER, 0);
    nextToRead_ = (nextToRead_ + 1) % pixelBuffers_.size();
    --waiting_;
    return mapped;
}
