#include "screens/game_keys.h"

#include "engine/startup.h"
#include "game/world.h"
#include "game/world_tables.h"
#include "screens/game_over.h"
#include "screens/menu.h"

namespace vastorim {
namespace {

constexpr int keyReturn = 13, keyEscape = 27, keyLeft = 37, keyUp = 38, keyRight = 39, keyDown = 40,
              keyO = 79, keyP = 80;

// Every binding equal to the key sets or clears its flag: one key may drive several actions and
// several players.
void setHeldFlags(int keyCode, bool held) {
    for (Ship& ship : world.ships) {
        if (ship.keyUp == keyCode) {
            ship.upHeld = held;
        }
        if (ship.keyDown == keyCode) {
            ship.downHeld = held;
        }
        if (ship.keyLeft == keyCode) {
            ship.leftHeld = held;
        }
        if (ship.keyRight == keyCode) {
            ship.rightHeld = held;
        }
        if (ship.keyFire == keyCode) {
            ship.fireHeld = held;
        }
    }
}

// The debug keys would let anyone post a forged time to the online table, so only development
// builds have them.
void debugKey(int keyCode) {
    if (!isDevelopmentRun()) {
        return;
    }
    if (keyCode == keyP) {
        globals.gameStartTick -= 10000;
    }
    if (keyCode == keyO && !world.ships.empty()) {
        world.ships[0].particle.damage = 0;
    }
}

} // namespace

PadKeyCodes padKeysOf(int player) {
    if (globals.gameMode == 0) {
        return {keyLeft, keyRight, keyUp, keyDown, keyReturn, keyEscape};
    }
    if (player < 0 || static_cast<std::size_t>(player) >= world.ships.size()) {
        return {.start = keyEscape};
    }
    const Ship& ship = world.ships[static_cast<std::size_t>(player)];
    return {ship.keyLeft, ship.keyRight, ship.keyUp, ship.keyDown, ship.keyFire, keyEscape};
}

void onFocusLost() {
    if (globals.gameMode == 1 && globals.finalTime == 0) {
        pauseGame();
    }
}

void escapeFromGame() {
    submitScore();
    globals.gameMode = 0;
    clearHeldKeys();
    suspendOrLeaveGame();
}

void onKeyDown(int keyCode) {
    if (globals.gameMode == 0) {
        menuKey(keyCode);
        return;
    }
    if (globals.gameMode != 1) {
        return;
    }
    setHeldFlags(keyCode, true);
    debugKey(keyCode);
    if (globals.finalTime != 0) {
        enterNameKey(keyCode);
    }
    if (keyCode == keyEscape) {
        escapeFromGame();
    }
}

void onKeyUp(int keyCode) {
    if (globals.gameMode == 1) {
        setHeldFlags(keyCode, false);
    }
}

} // namespace vastorim
