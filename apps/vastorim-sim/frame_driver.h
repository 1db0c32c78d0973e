#pragma once

#include "sim_options.h"

namespace vastorim::sim {

// Drives a headless run from the engine's per-frame hooks: takes the screenshots asked for and
// ends the loop after the last frame.
class FrameDriver {
  public:
    explicit FrameDriver(const SimOptions& options) : options_(options) {}

    // Installs the driver into the engine's hooks; the driver must outlive the run.
    void install();

    long framesRun() const { return frame_; }

  private:
    void afterFrame();
    bool wantsScreenshot(long frame) const;

    const SimOptions& options_;
    long frame_ = 0;
};

} // namespace vastorim::sim
