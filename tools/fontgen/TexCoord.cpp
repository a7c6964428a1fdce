#include "TexCoord.h"

std::uint32_t texCoordMillionths(std::uint32_t texel) {
    // 1/256 = 0.00390625 exactly, so k/256 in units of 1e-8 is an integer.
    const std::uint32_t hundredMillionths = texel * 390625u;
    std::uint32_t millionths = hundredMillionths / 100u;
    const std::uint32_t remainder = hundredMillionths % 100u;
    if (remainder > 50u || (remainder == 50u && millionths % 2u == 1u)) {
        ++millionths;
    }
    return millionths;
}

float texCoordFromTexel(std::uint32_t texel) {
    // Both operands are exact floats (the millionths stay at most 1000000,
    // far below 2^24), and IEEE division rounds the exact quotient once: this
    // is the nearest float to the decimal value, as a correct strtof gives.
    return static_cast<float>(texCoordMillionths(texel)) / 1000000.0f;
}
