#pragma once
// Colour conversion for the encoder: RGBA frames as GL reads them (rows
// bottom-up) to planar YUV 4:2:0 with the rows top-down (the Y plane, then
// Cb, then Cr), BT.709 coefficients, limited range (Y 16-235, Cb/Cr 16-240).
// Each chroma sample is the mean of its 2x2 block of pixels.
//
// Done here rather than by the encoder because the frames then cross the pipe
// at 12 bits a pixel instead of 32, which costs the machine less than the
// conversion itself (see scripts/bench).
//
// Pure function: no state, any thread. Width and height must be even;
// `yuv` holds yuv420Bytes(width, height) bytes.
#include <cstddef>
#include <cstdint>

constexpr std::size_t yuv420Bytes(int width, int height) {
    return static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3 / 2;
}

void rgbaToYuv420(const std::uint8_t* rgbaBottomUp, int width, int height, std::uint8_t* yuv);
