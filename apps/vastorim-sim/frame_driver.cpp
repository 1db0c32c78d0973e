#include "frame_driver.h"

#include "engine/renderer.h"
#include "engine/startup.h"
#include "platform/video.h"

#include <cstdio>

namespace vastorim::sim {

void FrameDriver::install() {
    hooks.afterFrame = [this] { afterFrame(); };
    if (options_.noRender) {
        // Without a video the frame renderer draws nothing; start-up has loaded everything by the
        // time the first frame's update is done. The final picture alone is drawn.
        hooks.afterUpdate = [this] {
            if (video_ == nullptr) {
                video_ = currentVideo();
            }
            setCurrentVideo(finalPictureFrame() ? video_ : nullptr);
        };
    }
}

bool FrameDriver::finalPictureFrame() const {
    return !options_.finalPicture.empty() && frame_ == options_.frames - 1;
}

bool FrameDriver::wantsScreenshot(long frame) const {
    return options_.screenshotAt.contains(frame) ||
           (options_.screenshotEvery > 0 && frame % options_.screenshotEvery == 0);
}

void FrameDriver::afterFrame() {
    play_.afterFrame(frame_);
    if (wantsScreenshot(frame_)) {
        if (platform::Video* video = currentVideo()) {
            char name[32];
            std::snprintf(name, sizeof name, "/frame-%06ld.png", frame_);
            video->saveScreenshot(options_.outFolder + name);
        }
    }
    if (finalPictureFrame()) {
        if (platform::Video* video = currentVideo()) {
            video->saveScreenshot(options_.finalPicture);
        }
    }
    ++frame_;
    if (frame_ >= options_.frames) {
        globals.gameRunning = false;
    }
}

} // namespace vastorim::sim
