#include "platform/platform.h"

#include "platform/audio.h"
#include "platform/clock.h"
#include "platform/events.h"
#include "platform/text.h"
#include "platform/video.h"

namespace vastorim::platform {

Platform::Platform() = default;
Platform::~Platform() = default;
Platform::Platform(Platform&&) noexcept = default;
Platform& Platform::operator=(Platform&&) noexcept = default;

Platform createRealPlatform(bool fullScreen) {
    Platform platform;
    platform.video = createWindowVideo(fullScreen);
    platform.clock = createRealClock();
    platform.events = createWindowEvents();
    platform.audio = createAudioDevice();
    platform.text = createTextRenderer(*platform.video);
    return platform;
}

Platform createHeadlessPlatform(int frameMs) {
    Platform platform;
    platform.video = createOffscreenVideo();
    platform.clock = std::make_unique<VirtualClock>(frameMs);
    platform.events = std::make_unique<ScriptedEvents>();
    platform.audio =
        createHeadlessAudioDevice([clock = platform.clock.get()] { return clock->ticks(); });
    platform.text = createTextRenderer(*platform.video);
    platform.headless = true;
    platform.finishRequestsEachFrame = true;
    return platform;
}

} // namespace vastorim::platform
