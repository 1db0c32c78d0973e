#pragma once

#include <memory>

namespace vastorim::platform {

class Video;
class Clock;
class EventSource;
class AudioDevice;
class TextRenderer;

// The platform objects one run uses: real ones for the game, headless ones for vastorim-sim,
// vastorim-fx and the tests. The same start-up, loop and game code runs on either.
struct Platform {
    std::unique_ptr<Video> video;
    std::unique_ptr<Clock> clock;
    std::unique_ptr<EventSource> events;
    std::unique_ptr<AudioDevice> audio;
    std::unique_ptr<TextRenderer> text;
    bool headless = false;
    // Headless runs let every network request finish before the next frame, so what they show
    // depends on the replies alone, never on how long the replies took.
    bool finishRequestsEachFrame = false;

    Platform();
    ~Platform();
    Platform(Platform&&) noexcept;
    Platform& operator=(Platform&&) noexcept;
};

// The game's platform: a window (opened by the engine at start-up), SDL's clock and events.
Platform createRealPlatform(bool fullScreen);

// No display and no audio device: the offscreen surface, a virtual clock advancing frameMs per
// frame, and scripted events (ScriptedEvents).
Platform createHeadlessPlatform(int frameMs);

} // namespace vastorim::platform
