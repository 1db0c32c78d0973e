#pragma once

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace vastorim::test {

// Writes 16-bit PCM WAV files for tests that need a sound of known layout.
inline void writeWav16(const std::string& path, int sampleRate, int channels,
                       const std::vector<std::int16_t>& samples) {
    std::ofstream out(path, std::ios::binary);
    auto put32 = [&](std::uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            out.put(static_cast<char>((v >> (8 * i)) & 0xff));
        }
    };
    auto put16 = [&](std::uint16_t v) {
        out.put(static_cast<char>(v & 0xff));
        out.put(static_cast<char>(v >> 8));
    };
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    out.write("RIFF", 4);
    put32(36 + dataBytes);
    out.write("WAVEfmt ", 8);
    put32(16);
    put16(1);
    put16(static_cast<std::uint16_t>(channels));
    put32(static_cast<std::uint32_t>(sampleRate));
    put32(static_cast<std::uint32_t>(sampleRate * channels * 2));
    put16(static_cast<std::uint16_t>(channels * 2));
    put16(16);
    out.write("data", 4);
    put32(dataBytes);
    for (std::int16_t s : samples) {
        put16(static_cast<std::uint16_t>(s));
    }
}

} // namespace vastorim::test
