#pragma once

#include <algorithm>
#include <cstdint>

namespace vastorim::platform {

// Where a sound played once stands, in sample frames. The mixing buffer and the timekeeping
// buffer both move through this, so they stop at the same place and report the same bytes.
struct PlaybackCursor {
    static constexpr double minRate = 100;
    static constexpr double maxRate = 200000;

    std::uint32_t frameCount = 0;
    std::uint32_t bytesPerFrame = 1;
    double frame = 0;
    double rate = 22050;
    bool playing = false;

    void start() { playing = frame < frameCount; }

    // Moves on by a number of frames; reaching the end stops the sound there.
    void advance(double frames) {
        frame += frames;
        if (frame >= frameCount) {
            frame = frameCount;
            playing = false;
        }
    }

    void seek(std::uint32_t bytes) { frame = std::min(bytes / bytesPerFrame, frameCount); }
    void setRate(std::int32_t framesPerSecond) {
        rate = std::clamp(static_cast<double>(framesPerSecond), minRate, maxRate);
    }

    std::uint32_t bytesAt(double atFrame) const {
        return static_cast<std::uint32_t>(std::min(atFrame, static_cast<double>(frameCount))) *
               bytesPerFrame;
    }
    std::uint32_t bytes() const { return bytesAt(frame); }
    std::uint32_t sizeInBytes() const { return frameCount * bytesPerFrame; }
};

} // namespace vastorim::platform
