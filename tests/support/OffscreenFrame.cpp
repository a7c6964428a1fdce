#include "OffscreenFrame.h"

#include "render/Viewport.h"

#include <cstddef>

OffscreenFrame::OffscreenFrame(int width, int height) : width_(width), height_(height) {
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
}

OffscreenFrame::~OffscreenFrame() {
    glDeleteFramebuffers(1, &framebuffer_);
    glDeleteRenderbuffers(1, &depthBuffer_);
    glDeleteRenderbuffers(1, &colourBuffer_);
}

void OffscreenFrame::bind() {
    glGetIntegerv(GL_VIEWPORT, viewportBefore_);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    const ViewportRect picture = fitViewport(width_, height_);
    glViewport(picture.x, picture.y, picture.width, picture.height);
}

void OffscreenFrame::unbind() {
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glViewport(viewportBefore_[0], viewportBefore_[1], viewportBefore_[2], viewportBefore_[3]);
}

std::vector<unsigned char> OffscreenFrame::readRgb() const {
    std::vector<unsigned char> pixels(static_cast<std::size_t>(width_) *
                                      static_cast<std::size_t>(height_) * 3);
    glReadBuffer(GL_COLOR_ATTACHMENT0);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width_, height_, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}
