#include "engine/pad_keys.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace vastorim {
namespace {

using platform::PadControl;

enum Action : std::size_t { Left, Right, Up, Down, Fire, Start, actionCount };

struct ConnectedPad {
    int id = 0;
    int player = 0;
    std::array<bool, actionCount> buttonHeld{}; // the d-pad, A and Start
    std::array<bool, actionCount> stickHeld{};  // the left stick's directions
    std::array<bool, actionCount> held{};       // either, as last reported
    std::array<int, actionCount> keyDown{};     // the key each held action pressed, 0 for none
};

struct PadKeysState {
    std::vector<ConnectedPad> pads; // in the order they were connected
};

PadKeysState state;

int keyOf(const PadKeyCodes& codes, Action action) {
    const std::array<int, actionCount> byAction = {codes.left, codes.right, codes.up,
                                                   codes.down, codes.fire,  codes.start};
    return byAction[action];
}

// One stick axis's two directions, each with its own hysteresis.
void moveStick(bool& negative, bool& positive, int value) {
    negative = negative ? value < -stickReleased : value <= -stickPressed;
    positive = positive ? value > stickReleased : value >= stickPressed;
}

void applyControl(ConnectedPad& pad, PadControl control, int value) {
    // The buttons' actions, in the order PadControl lists the buttons.
    static constexpr std::array<Action, 6> buttonActions = {Fire, Start, Up, Down, Left, Right};
    static_assert(static_cast<std::size_t>(PadControl::DpadRight) + 1 == buttonActions.size());
    if (control == PadControl::LeftStickX) {
        moveStick(pad.stickHeld[Left], pad.stickHeld[Right], value);
    } else if (control == PadControl::LeftStickY) {
        moveStick(pad.stickHeld[Up], pad.stickHeld[Down], value);
    } else {
        pad.buttonHeld[buttonActions[static_cast<std::size_t>(control)]] = value != 0;
    }
}

void release(ConnectedPad& pad, Action action, std::vector<KeyEvent>& keys) {
    if (pad.keyDown[action] != 0) {
        keys.push_back({false, pad.keyDown[action]});
        pad.keyDown[action] = 0;
    }
    pad.held[action] = false;
}

// Reports every action whose held state changed since the last report.
void settle(ConnectedPad& pad, const std::function<PadKeyCodes(int)>& keysOf,
            std::vector<KeyEvent>& keys) {
    for (std::size_t i = 0; i < actionCount; ++i) {
        const auto action = static_cast<Action>(i);
        const bool held = pad.buttonHeld[action] || pad.stickHeld[action];
        if (held == pad.held[action]) {
            continue;
        }
        if (!held) {
            release(pad, action, keys);
            continue;
        }
        pad.held[action] = true;
        pad.keyDown[action] = keysOf ? keyOf(keysOf(pad.player), action) : 0;
        if (pad.keyDown[action] != 0) {
            keys.push_back({true, pad.keyDown[action]});
        }
    }
}

int lowestFreePlayer() {
    for (int player = 0;; ++player) {
        if (std::none_of(state.pads.begin(), state.pads.end(),
                         [player](const ConnectedPad& pad) { return pad.player == player; })) {
            return player;
        }
    }
}

} // namespace

void translatePadEvent(const platform::Event& event,
                       const std::function<PadKeyCodes(int player)>& keysOf,
                       std::vector<KeyEvent>& keys) {
    const auto found =
        std::find_if(state.pads.begin(), state.pads.end(),
                     [&event](const ConnectedPad& pad) { return pad.id == event.pad; });
    switch (event.type) {
    case platform::Event::Type::PadAdded:
        if (found == state.pads.end()) {
            state.pads.push_back({.id = event.pad, .player = lowestFreePlayer()});
        }
        break;
    case platform::Event::Type::PadRemoved:
        if (found != state.pads.end()) {
            for (std::size_t action = 0; action < actionCount; ++action) {
                release(*found, static_cast<Action>(action), keys);
            }
            state.pads.erase(found);
        }
        break;
    case platform::Event::Type::PadChanged:
        if (found != state.pads.end()) {
            applyControl(*found, event.control, event.value);
            settle(*found, keysOf, keys);
        }
        break;
    default:
        break;
    }
}

void resetPadKeys() {
    state = PadKeysState{};
}

} // namespace vastorim
