#pragma once

#include <cstdint>
#include <memory>

namespace vastorim::platform {

// Milliseconds since the clock started; the game reads time only through this.
class Clock {
  public:
    virtual ~Clock() = default;
    virtual std::int64_t ticks() = 0;
    // The main loop finished a frame. The real clock ignores it; the virtual one advances.
    virtual void frameEnded() = 0;
};

// SDL's tick counter.
std::unique_ptr<Clock> createRealClock();

// Starts at 0 and advances by frameMs milliseconds at the end of every frame, so a headless run
// sees the same times on every machine.
class VirtualClock final : public Clock {
  public:
    explicit VirtualClock(std::int64_t frameMs) : frameMs_(frameMs) {}
    std::int64_t ticks() override { return now_; }
    void frameEnded() override { now_ += frameMs_; }

  private:
    std::int64_t frameMs_;
    std::int64_t now_ = 0;
};

} // namespace vastorim::platform
