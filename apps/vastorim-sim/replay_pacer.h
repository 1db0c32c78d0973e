#pragma once

#include <chrono>

namespace vastorim::platform {
class EventSource;
}

namespace vastorim::sim {

// Shows a replay in a real window at the pace it was played: after each frame it waits until
// the replay's clock has caught up with real time. The window's own keys steer it: space pauses
// and resumes, the right arrow held runs four times faster, Escape or closing the window leaves.
class ReplayPacer {
  public:
    explicit ReplayPacer(platform::EventSource& events) : events_(events) {}

    // Installs the pacing after the engine's afterFrame hook; the pacer must outlive the run.
    void install();

  private:
    void afterFrame();
    void readKeys();
    void advanceClock();

    platform::EventSource& events_;
    bool paused_ = false;
    bool fast_ = false;
    bool started_ = false;
    double replayMs_ = 0; // how far the replay's clock may have gone by now
    std::int32_t firstTick_ = 0;
    std::chrono::steady_clock::time_point lastReal_;
};

} // namespace vastorim::sim
