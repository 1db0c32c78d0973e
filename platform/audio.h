#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace vastorim::platform {

// One sound held whole in memory, played once from its current position. Positions are byte
// offsets into the sound's PCM data as stored in its file, so they mean the same thing whatever
// the device plays at.
class AudioBuffer {
  public:
    virtual ~AudioBuffer() = default;

    virtual void play() = 0; // once, from the current position, not looping
    virtual void stop() = 0; // keeps the position
    virtual bool playing() = 0;

    // The byte offset of the sample frame heard now; the size of the data once played to its end.
    virtual std::uint32_t position() = 0;
    virtual void setPosition(std::uint32_t bytes) = 0; // rounded down to a whole sample frame

    virtual void setRate(std::int32_t framesPerSecond) = 0;
    virtual void setVolume(std::int32_t hundredthsOfDecibel) = 0; // 0 full, -10000 silent

    virtual std::uint32_t sizeInBytes() const = 0;
    virtual std::uint32_t bytesPerFrame() const = 0;
    virtual int channels() const = 0;
};

// Opens sound files as buffers. Throws std::runtime_error saying why (the caller names the file)
// when it cannot be read as PCM WAV.
class AudioDevice {
  public:
    virtual ~AudioDevice() = default;
    virtual std::unique_ptr<AudioBuffer> loadWav(const std::string& path) = 0;
};

// Milliseconds of some clock; only differences matter.
using MillisecondClock = std::function<std::int64_t()>;

// The sound card through SDL. When no device can be opened the game runs silent: buffers then
// keep time on the real clock as the headless ones do on theirs (said once on stderr).
std::unique_ptr<AudioDevice> createAudioDevice();

// Plays nothing; a playing buffer's position advances by its rate in sample frames per second
// of the given clock.
std::unique_ptr<AudioDevice> createHeadlessAudioDevice(MillisecondClock clock);

} // namespace vastorim::platform
