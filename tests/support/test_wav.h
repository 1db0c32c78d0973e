#pragma once

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace vastorim::test {

// Writes 16-bit PCM WAV files for tests that need a sound of known layout.
inline void writeWav16(const std::string& path, int sampleRate, int channels,
                       const std::vector<std::int16_t>& samples) {
    std::string bytes;
    const auto put = [&](std::uint32_t value, int size) {
        for (int i = 0; i < size; ++i) {
            bytes += static_cast<char>(value >> (8 * i) & 0xff);
        }
    };
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    const auto blockBytes = static_cast<std::uint32_t>(channels * 2);
    bytes += "RIFF";
    put(36 + dataBytes, 4);
    bytes += "WAVEfmt ";
    put(16, 4); // the format block: PCM, channels, rate, byte rate, block size, bits
    put(1, 2);
    put(blockBytes / 2, 2);
    put(static_cast<std::uint32_t>(sampleRate), 4);
    put(static_cast<std::uint32_t>(sampleRate) * blockBytes, 4);
    put(blockBytes, 2);
    put(16, 2);
    bytes += "data";
    put(dataBytes, 4);
    for (std::int16_t sample : samples) {
        put(static_cast<std::uint16_t>(sample), 2);
    }
    std::ofstream(path, std::ios::binary) << bytes;
}

} // namespace vastorim::test
