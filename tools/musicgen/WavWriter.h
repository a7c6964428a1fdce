// 16-bit PCM WAV output, for examining the rendered piece with other tools.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

bool writeWav(const std::string& path, const std::vector<std::int16_t>& interleaved, int channels,
              int sampleRate);
