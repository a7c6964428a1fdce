#pragma once
// Colour conversion for the encoder: RGBA frames as GL reads them (rows
// bottom-up) to planar YUV with the rows top-down (the Y plane, then Cb,
// then Cr), BT.709 coefficients, limited range (Y 16-235, Cb/Cr 16-240):
// 4:2:0, where each chroma sample is the mean of its 2x2 block of pixels,
// which every player plays; or 4:4:4, a chroma sample per pixel, which
// keeps the show's single-pixel motes and coloured edges (4:2:0 alone
// costs about 45 dB of PSNR against the frames on the show's dark parts).
//
// Done here rather than by the encoder because the frames then cross the pipe
// at 12 bits a pixel instead of 32, which costs the machine less than the
// conversion itself (see scripts/bench).
//
// Pure functions: no state, any thread.
#include <cstddef>
#include <cstdint>

// `yuv` holds yuv420Bytes(width, height) bytes; width and height even.
constexpr std::size_t yuv420Bytes(int width, int height) {
    return static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3 / 2;
}

void rgbaToYuv420(const std::uint8_t* rgbaBottomUp, int width, int height, std::uint8_t* yuv);

// `yuv` holds yuv444Bytes(width, height) bytes; any width and height.
constexpr std::size_t yuv444Bytes(int width, int height) {
    return static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3;
}

void rgbaToYuv444(const std::uint8_t* rgbaBottomUp, int width, int height, std::uint8_t* yuv);
