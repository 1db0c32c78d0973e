#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vastorim::music {

// A canonical 44-byte-header RIFF WAVE file of 16-bit mono PCM.
std::vector<std::uint8_t> encodeWav(const std::vector<std::int16_t>& samples, int sampleRate);

// Writes the bytes, replacing the file; false when it cannot be written.
bool writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes);

} // namespace vastorim::music
