#include "platform/platform.h"

#include "platform/clock.h"
#include "platform/events.h"
#include "platform/video.h"

// The audio and text members are filled where those services are built; until their headers are
// present, their classes only need to be destructible here.
#if __has_include("platform/audio.h")
#include "platform/audio.h"
#else
namespace vastorim::platform {
class AudioDevice {
  public:
    virtual ~AudioDevice() = default;
};
} // namespace vastorim::platform
#endif
#if __has_include("platform/text.h")
#include "platform/text.h"
#else
namespace vastorim::platform {
class TextRenderer {
  public:
    virtual ~TextRenderer() = default;
};
} // namespace vastorim::platform
#endif

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
    return platform;
}

Platform createHeadlessPlatform(int frameMs) {
    Platform platform;
    platform.video = createOffscreenVideo();
    platform.clock = std::make_unique<VirtualClock>(frameMs);
    platform.events = std::make_unique<ScriptedEvents>();
    platform.headless = true;
    return platform;
}

} // namespace vastorim::platform
