#pragma once

#include "platform/update_window.h"

#include <cstddef>
#include <memory>
#include <string>

namespace vastorim {

// The window captioned "Updating" that shows the versions and a progress bar while an update's
// files download: 465 pixels wide, dark grey, a black strip along the top to drag it by, the
// label in light grey, and the grey bar in its black track.
platform::UpdateWindowLook progressWindowLook();

class ProgressWindow {
  public:
    // Without a window (no display) nothing is drawn and the rest works the same.
    explicit ProgressWindow(std::unique_ptr<platform::UpdateWindow> window);

    void setLabel(const std::string& text);
    // The bar covers index / last of the track; with one file (last 0) all of it.
    void setProgress(std::size_t index, std::size_t last);
    // Paints the window as it now is and lets pending window events run.
    void repaint();

  private:
    std::unique_ptr<platform::UpdateWindow> window_;
    std::string label_ = "Updating";
    int barWidth_ = 1;
};

} // namespace vastorim
