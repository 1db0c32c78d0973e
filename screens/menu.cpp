#include "screens/menu.h"

#include "engine/music_clock.h"
#include "engine/random.h"
#include "engine/startup.h"
#include "game/world.h"
#include "game/world_tables.h"
#include "particles/emitter.h"
#include "screens/menu_state.h"

namespace vastorim {
namespace {

constexpr int keyReturn = 13, keyEscape = 27, keyUp = 38, keyDown = 40;
constexpr int exitItem = 4;

bool isFireKey(int keyCode) {
    for (const Ship& ship : world.ships) {
        if (ship.keyFire == keyCode) {
            return true;
        }
    }
    return false;
}

void selectMainMenuItem() {
    switch (globals.menuCursor) {
    case 0:
        if (globals.gamePaused) {
            resumeGame();
        } else {
            startGame();
        }
        break;
    case 1:
    case 2:
    case 3:
        globals.menuScreen = globals.menuCursor;
        break;
    case exitItem:
        endProgramNow();
    default:
        break;
    }
}

} // namespace

void fadeMenuItems() {
    for (int i = 0; i < static_cast<int>(menu.itemBrightness.size()); ++i) {
        float& brightness = menu.itemBrightness[i];
        if (i == globals.menuCursor) {
            brightness -= 2 * globals.frameTime;
            if (brightness < 0.5f) {
                brightness = 0.5f;
            }
        } else {
            brightness += globals.frameTime;
            if (brightness > 1.0f) {
                brightness = 1.0f;
            }
        }
    }
}

void updateMenu() {
    fadeMenuItems();
    updateMusicClock();
    if (music.beatFlag) {
        for (int i = 0; i < 3; ++i) {
            const double x = rnd() * 1024.0;
            const double y = rnd() * 768.0;
            emitter.spawnEffect(x, y, "menuback.txt");
        }
    }
}

void menuKey(int keyCode) {
    if (keyCode == keyUp && globals.menuCursor > 0) {
        --globals.menuCursor;
    }
    if (keyCode == keyDown && globals.menuScreen == 0 && globals.menuCursor < exitItem) {
        ++globals.menuCursor;
    }
    if (keyCode == keyReturn || isFireKey(keyCode)) {
        if (globals.menuScreen == 0) {
            selectMainMenuItem();
        } else {
            globals.menuScreen = 0;
            globals.screenStep = 0;
        }
        globals.menuCursor = 0;
        if (globals.menuScreen == 2 || globals.menuScreen == 3) {
            globals.menuCursor = -1;
        }
        resetMenuItems();
    }
    if (keyCode == keyEscape) {
        if (globals.menuScreen == 0) {
            endProgramNow();
        }
        globals.menuCursor = 0;
        globals.menuScreen = 0;
        globals.screenStep = 0;
        resetMenuItems();
    }
}

} // namespace vastorim
