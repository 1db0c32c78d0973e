#include "updater/progress_window.h"

#include "engine/app_path.h"

#include <cmath>

namespace vastorim {
namespace {

// Positions and sizes in pixels.
constexpr int kWidth = 465;
constexpr int kHeight = 57; // the track's top margin again below it
constexpr int kMargin = 16;
constexpr int kInnerWidth = 425;
constexpr int kStripHeight = 9;
const platform::WindowBox kTitleStrip{0, 0, kWidth, kStripHeight, 0x000000};
const platform::WindowBox kLabel{kMargin, kMargin, kInnerWidth, 17, 0xC0C0C0};
const platform::WindowBox kTrack{kMargin, 32, kInnerWidth, kStripHeight, 0x000000};
constexpr std::uint32_t kBarColour = 0x808080;
constexpr std::uint32_t kBackground = 0x404040;
constexpr int kFontPixels = 13; // 9.75 points at 96 dots per inch

} // namespace

platform::UpdateWindowLook progressWindowLook() {
    return {"Updating",  kWidth,      kHeight,
            kBackground, kTitleStrip, programFile("graphics/updater.ttf"),
            kFontPixels};
}

ProgressWindow::ProgressWindow(std::unique_ptr<platform::UpdateWindow> window)
    : window_(std::move(window)) {}

void ProgressWindow::setLabel(const std::string& text) {
    label_ = text;
}

void ProgressWindow::setProgress(std::size_t index, std::size_t last) {
    const double fraction =
        last == 0 ? 1.0 : static_cast<double>(index) / static_cast<double>(last);
    barWidth_ = static_cast<int>(std::nearbyint(fraction * kInnerWidth));
}

void ProgressWindow::repaint() {
    if (window_ == nullptr) {
        return;
    }
    platform::WindowBox bar = kTrack;
    bar.width = barWidth_;
    bar.rgb = kBarColour;
    window_->paint({kTitleStrip, kTrack, bar}, kLabel, label_);
    window_->handleEvents();
}

} // namespace vastorim
