#include "engine/main_loop.h"

#include "engine/background_jobs.h"
#include "engine/pad_keys.h"
#include "engine/platform_access.h"
#include "engine/renderer.h"
#include "engine/run_inputs.h"
#include "engine/startup.h"
#include "engine/window_keys.h"
#include "platform/clock.h"
#include "platform/events.h"
#include "platform/platform.h"

#include <vector>

namespace vastorim {

namespace {

// What background jobs found reaches the game at the start of a frame.
void applyRequestResults() {
    platform::Platform* platform = currentPlatform();
    if (platform != nullptr && platform->finishRequestsEachFrame) {
        waitForBackgroundJobs();
    }
    applyFinishedJobs();
}

// Keys from the keyboard and from pads alike: the window's own keys first, then the game's.
void keyDown(int keyCode) {
    if (!windowKeyDown(keyCode)) {
        handOverKey(true, keyCode);
    }
}

void keyUp(int keyCode) {
    windowKeyUp(keyCode);
    handOverKey(false, keyCode);
}

// A replay brings its own keys: of the window's events only a close request counts.
void processReplayedEvents(platform::EventSource* events) {
    std::vector<platform::Event> pending;
    if (events != nullptr) {
        events->poll(pending);
    }
    for (const platform::Event& event : pending) {
        if (event.type == platform::Event::Type::Close) {
            globals.gameRunning = false;
        }
    }
    handOverReplayedEvents();
}

void endFrame() {
    platform::Platform* platform = currentPlatform();
    if (platform != nullptr && platform->clock) {
        platform->clock->frameEnded();
    }
}

} // namespace

void mainLoop() {
    std::int32_t last = beginLoopInputs();
    globals.gameStartTick = last;
    while (globals.gameRunning) {
        applyRequestResults();
        std::int32_t now = beginFrameInputs();
        if (globals.finalTime == 0) {
            globals.gameClockTick = now;
        }
        // Unsigned difference: the tick counter may wrap between two frames.
        auto elapsed = static_cast<std::int32_t>(static_cast<std::uint32_t>(now) -
                                                 static_cast<std::uint32_t>(last));
        globals.frameTime = static_cast<float>(elapsed * 0.001);
        last = now;
        callHook(hooks.updateEmitter);
        if (globals.gameMode == 0 || globals.gameMode == 1) {
            callHook(hooks.updateMode);
        }
        callHook(hooks.afterUpdate);
        renderFrame();
        callHook(hooks.afterFrame);
        processPendingEvents();
        endFrameInputs();
        endFrame();
    }
}

void processPendingEvents() {
    platform::Platform* platform = currentPlatform();
    if (replaying()) {
        processReplayedEvents(platform != nullptr ? platform->events.get() : nullptr);
        return;
    }
    if (platform == nullptr || !platform->events) {
        return;
    }
    std::vector<platform::Event> events;
    platform->events->poll(events);
    std::vector<KeyEvent> padKeys;
    for (const platform::Event& event : events) {
        switch (event.type) {
        case platform::Event::Type::KeyDown:
            keyDown(event.keyCode);
            break;
        case platform::Event::Type::KeyUp:
            keyUp(event.keyCode);
            break;
        case platform::Event::Type::Close:
            globals.gameRunning = false;
            break;
        case platform::Event::Type::Click:
            break; // the game is played with the keyboard and pads alone
        case platform::Event::Type::FocusLost:
            releaseWindowKeys();
            handOverFocusLost();
            break;
        case platform::Event::Type::PadAdded:
        case platform::Event::Type::PadRemoved:
        case platform::Event::Type::PadChanged:
            padKeys.clear();
            translatePadEvent(event, hooks.padKeys, padKeys);
            for (const KeyEvent& key : padKeys) {
                if (key.down) {
                    keyDown(key.keyCode);
                } else {
                    keyUp(key.keyCode);
                }
            }
            break;
        }
    }
}

} // namespace vastorim
