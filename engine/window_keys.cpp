#include "engine/window_keys.h"

#include "engine/renderer.h"
#include "engine/screenshots.h"

namespace vastorim {
namespace {

constexpr int keyReturn = 13, keyAlt = 18, keyF11 = 122, keyF12 = 123;

struct WindowKeysState {
    bool altHeld = false;
    bool f11Held = false;
    bool altReturnHeld = false; // the Return of Alt+Return, until it is released
    bool f12Held = false;
};

WindowKeysState state;

void toggleFullScreen() {
    if (platform::Video* video = currentVideo()) {
        video->setFullScreen(!video->isFullScreen());
    }
}

} // namespace

bool windowKeyDown(int keyCode) {
    if (keyCode == keyAlt) {
        state.altHeld = true;
        return false;
    }
    bool* held = nullptr;
    if (keyCode == keyF11) {
        held = &state.f11Held;
    } else if (keyCode == keyReturn && (state.altHeld || state.altReturnHeld)) {
        held = &state.altReturnHeld;
    } else if (keyCode == keyF12) {
        held = &state.f12Held;
    } else {
        return false;
    }
    if (!*held) {
        if (keyCode == keyF12) {
            saveScreenshot();
        } else {
            toggleFullScreen();
        }
    }
    *held = true;
    return true;
}

void windowKeyUp(int keyCode) {
    if (keyCode == keyAlt) {
        state.altHeld = false;
    }
    if (keyCode == keyF11) {
        state.f11Held = false;
    }
    if (keyCode == keyReturn) {
        state.altReturnHeld = false;
    }
    if (keyCode == keyF12) {
        state.f12Held = false;
    }
}

void releaseWindowKeys() {
    state = WindowKeysState{};
}

} // namespace vastorim
