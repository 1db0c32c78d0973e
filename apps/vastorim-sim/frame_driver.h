#pragma once

#include "play_driver.h"
#include "sim_options.h"

namespace vastorim::platform {
class Video;
}

namespace vastorim::sim {

// Drives a headless run from the engine's per-frame hooks: takes the screenshots asked for (and
// the final picture) and ends the loop after the last frame.
class FrameDriver {
  public:
    FrameDriver(const SimOptions& options, PlayDriver& play) : options_(options), play_(play) {}

    // Installs the driver into the engine's hooks; the driver must outlive the run.
    void install();

    long framesRun() const { return frame_; }

  private:
    void afterFrame();
    bool wantsScreenshot(long frame) const;
    bool finalPictureFrame() const;

    const SimOptions& options_;
    PlayDriver& play_;
    long frame_ = 0;
    platform::Video* video_ = nullptr; // the run's, while drawing is left out
};

} // namespace vastorim::sim
