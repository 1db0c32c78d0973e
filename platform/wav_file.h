#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vastorim::platform {

// The PCM contents of a WAV file: its layout, and optionally its samples as floats in -1..1
// (interleaved channels) for mixing.
struct WavSound {
    int channels = 0;
    int sampleRate = 0;
    std::uint32_t bytesPerFrame = 0;
    std::uint32_t frameCount = 0;
    std::vector<float> samples;
};

// Throws std::runtime_error saying why (the caller names the file) when it is missing or not 8,
// 16 or 32-bit PCM or float WAV.
WavSound readWav(const std::string& path, bool withSamples);

} // namespace vastorim::platform
