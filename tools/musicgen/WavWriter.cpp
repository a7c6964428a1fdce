#include "WavWriter.h"

#include <fstream>

namespace {

void putLittleEndian(std::ofstream& file, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        file.put(static_cast<char>((value >> (8 * i)) & 0xFFu));
    }
}

} // namespace

bool writeWav(const std::string& path, const std::vector<std::int16_t>& interleaved, int channels,
              int sampleRate) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    const std::uint32_t dataBytes = static_cast<std::uint32_t>(interleaved.size() * 2);
    const std::uint32_t blockAlign = static_cast<std::uint32_t>(channels * 2);
    file.write("RIFF", 4);
    putLittleEndian(file, 36 + dataBytes, 4);
    file.write("WAVEfmt ", 8);
    putLittleEndian(file, 16, 4);
    putLittleEndian(file, 1, 2); // PCM
    putLittleEndian(file, static_cast<std::uint32_t>(channels), 2);
    putLittleEndian(file, static_cast<std::uint32_t>(sampleRate), 4);
    putLittleEndian(file, static_cast<std::uint32_t>(sampleRate) * blockAlign, 4);
    putLittleEndian(file, blockAlign, 2);
    putLittleEndian(file, 16, 2);
    file.write("data", 4);
    putLittleEndian(file, dataBytes, 4);
    for (std::int16_t sample : interleaved) {
        putLittleEndian(file, static_cast<std::uint16_t>(sample), 2);
    }
    return static_cast<bool>(file);
}
