#pragma once

#include "platform/audio.h"

namespace vastorim::platform {

// The timekeeping device behind both headless runs and the silent fallback of the real one.
class HeadlessAudioDevice : public AudioDevice {
  public:
    explicit HeadlessAudioDevice(MillisecondClock clock) : clock_(std::move(clock)) {}
    std::unique_ptr<AudioBuffer> loadWav(const std::string& path) override;

  private:
    MillisecondClock clock_;
};

} // namespace vastorim::platform
