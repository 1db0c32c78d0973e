#include "replay_pacer.h"

#include "engine/platform_access.h"
#include "engine/startup.h"
#include "platform/events.h"

#include <thread>
#include <vector>

namespace vastorim::sim {
namespace {

constexpr int keyEscape = 27, keySpace = 32, keyRight = 39;
constexpr double fastFactor = 4;
constexpr auto pollPause = std::chrono::milliseconds(5);

} // namespace

void ReplayPacer::install() {
    hooks.afterFrame = [this, frameDriver = hooks.afterFrame] {
        callHook(frameDriver);
        afterFrame();
    };
}

void ReplayPacer::readKeys() {
    std::vector<platform::Event> events;
    events_.poll(events);
    using Type = platform::Event::Type;
    for (const platform::Event& event : events) {
        if (event.type == Type::Close ||
            (event.type == Type::KeyDown && event.keyCode == keyEscape)) {
            globals.gameRunning = false;
            paused_ = false;
        } else if (event.type == Type::KeyDown && event.keyCode == keySpace) {
            paused_ = !paused_;
        } else if (event.keyCode == keyRight &&
                   (event.type == Type::KeyDown || event.type == Type::KeyUp)) {
            fast_ = event.type == Type::KeyDown;
        }
    }
}

void ReplayPacer::advanceClock() {
    const auto now = std::chrono::steady_clock::now();
    if (!paused_) {
        replayMs_ += std::chrono::duration<double, std::milli>(now - lastReal_).count() *
                     (fast_ ? fastFactor : 1);
    }
    lastReal_ = now;
}

void ReplayPacer::afterFrame() {
    const std::int32_t tick = currentTick();
    if (!started_) {
        started_ = true;
        firstTick_ = tick;
        lastReal_ = std::chrono::steady_clock::now();
    }
    // Unsigned difference: the recorded clock may wrap.
    const auto due = static_cast<double>(static_cast<std::int32_t>(
        static_cast<std::uint32_t>(tick) - static_cast<std::uint32_t>(firstTick_)));
    do {
        readKeys();
        advanceClock();
        if (paused_ || replayMs_ < due) {
            std::this_thread::sleep_for(pollPause);
        }
    } while (globals.gameRunning && (paused_ || replayMs_ < due));
}

} // namespace vastorim::sim
