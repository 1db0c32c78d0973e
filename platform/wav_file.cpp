#include "platform/wav_file.h"

#include <SDL.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <stdexcept>
#include <string>

namespace vastorim::platform {

namespace {

template <typename T> T readSample(const Uint8* bytes) {
    T value;
    std::memcpy(&value, bytes, sizeof(T));
    return value;
}

float toFloat(SDL_AudioFormat format, const Uint8* bytes) {
    switch (format) {
    case AUDIO_U8:
        return (static_cast<float>(bytes[0]) - 128.0f) / 128.0f;
    case AUDIO_S16LSB:
        return static_cast<float>(SDL_SwapLE16(readSample<Sint16>(bytes))) / 32768.0f;
    case AUDIO_S32LSB:
        return static_cast<float>(static_cast<Sint32>(SDL_SwapLE32(readSample<Uint32>(bytes)))) /
               2147483648.0f;
    default:
        return SDL_SwapFloatLE(readSample<float>(bytes));
    }
}

bool supported(SDL_AudioFormat format) {
    return format == AUDIO_U8 || format == AUDIO_S16LSB || format == AUDIO_S32LSB ||
           format == AUDIO_F32LSB;
}

// SDL allocates what a chunk's header claims before it reads the chunk, so a file of a hundred
// bytes claiming gigabytes would take them: every chunk must fit in the file.
void checkChunkSizes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return; // SDL names the failure to open
    }
    file.seekg(0, std::ios::end);
    const std::uint64_t fileSize = static_cast<std::uint64_t>(file.tellg());
    std::uint64_t offset = 12; // past "RIFF", its size and "WAVE"
    unsigned char header[8];
    while (offset + 8 <= fileSize && file.seekg(static_cast<std::streamoff>(offset)) &&
           file.read(reinterpret_cast<char*>(header), 8)) {
        const std::uint64_t size = header[4] | header[5] << 8 | header[6] << 16 |
                                   static_cast<std::uint64_t>(header[7]) << 24;
        if (size > fileSize - offset - 8) {
            throw std::runtime_error("the chunk \"" + std::string(header, header + 4) +
                                     "\" claims " + std::to_string(size) +
                                     " bytes, more than the file's " + std::to_string(fileSize) +
                                     " bytes hold");
        }
        offset += 8 + size + (size & 1);
    }
}

} // namespace

WavSound readWav(const std::string& path, bool withSamples) {
    checkChunkSizes(path);
    SDL_AudioSpec spec;
    Uint8* data = nullptr;
    Uint32 length = 0;
    if (SDL_LoadWAV(path.c_str(), &spec, &data, &length) == nullptr) {
        throw std::runtime_error(std::string("cannot read the sound: ") + SDL_GetError());
    }
    if (!supported(spec.format) || spec.channels == 0) {
        SDL_FreeWAV(data);
        throw std::runtime_error("the sound is not 8, 16 or 32-bit PCM or float WAV");
    }
    WavSound sound;
    sound.channels = spec.channels;
    sound.sampleRate = spec.freq;
    const std::uint32_t sampleBytes = SDL_AUDIO_BITSIZE(spec.format) / 8;
    sound.bytesPerFrame = sampleBytes * spec.channels;
    sound.frameCount = length / sound.bytesPerFrame;
    if (withSamples) {
        const std::size_t count = static_cast<std::size_t>(sound.frameCount) * spec.channels;
        sound.samples.resize(count);
        for (std::size_t i = 0; i < count; ++i) {
            sound.samples[i] = toFloat(spec.format, data + i * sampleBytes);
        }
    }
    SDL_FreeWAV(data);
    return sound;
}

} // namespace vastorim::platform
