#include "frame_driver.h"

#include "engine/mod_dx8_render.h"
#include "engine/mod_vbp_start.h"
#include "platform/video.h"

#include <cstdio>

namespace vastorim::sim {

void FrameDriver::install() {
    hooks.afterFrame = [this] { afterFrame(); };
}

bool FrameDriver::wantsScreenshot(long frame) const {
    return options_.screenshotAt.contains(frame) ||
           (options_.screenshotEvery > 0 && frame % options_.screenshotEvery == 0);
}

void FrameDriver::afterFrame() {
    if (wantsScreenshot(frame_)) {
        if (platform::Video* video = currentVideo()) {
            char name[32];
            std::snprintf(name, sizeof name, "/frame-%06ld.png", frame_);
            video->saveScreenshot(options_.outFolder + name);
        }
    }
    ++frame_;
    if (frame_ >= options_.frames) {
        globals.gameRunning = false;
    }
}

} // namespace vastorim::sim
