#include "screens/game_hooks.h"

#include "engine/music_clock.h"
#include "engine/startup.h"
#include "game/world.h"
#include "game/world_loading.h"
#include "game/world_tables.h"
#include "particles/emitter.h"
#include "screens/game_hud.h"
#include "screens/game_keys.h"
#include "screens/game_over.h"
#include "screens/game_replays.h"
#include "screens/high_scores.h"
#include "screens/menu.h"
#include "screens/menu_draw.h"
#include "screens/menu_state.h"

namespace vastorim {

void updatePlayingFrame() {
    updateMusicClock();
    updateMusicTempo();
    fireWeapons();
    updateAsteroids();
    updateWorld();
    expirePickups();
}

void resetScreens() {
    resetMenuState();
    resetGameOver();
    resetHighScores();
    resetGameReplays();
}

void installGameHooks() {
    hooks.fetchHighScores = fetchHighScores;
    hooks.loadContent = [] {
        loadEffectList();
        loadPlayers();
        clearAsteroidsAndPickups();
        clearProjectiles();
    };
    hooks.resetMenuItems = resetMenuItems;
    hooks.updateEmitter = [] { emitter.update(); };
    hooks.updateMode = [] {
        if (globals.gameMode == 0) {
            updateMenu();
        } else if (globals.gameMode == 1) {
            updatePlayingFrame();
        }
    };
    hooks.drawMode = [] {
        if (globals.gameMode == 0) {
            drawMenu();
        } else if (globals.gameMode == 1) {
            drawWorld();
            drawHud();
        }
    };
    hooks.drawParticles = [] { emitter.render(); };
    hooks.keyDown = onKeyDown;
    hooks.keyUp = onKeyUp;
    hooks.padKeys = padKeysOf;
    hooks.focusLost = onFocusLost;
    hooks.spawnWaveAsteroid = [](const std::string& effectName) { spawnAsteroid(-1, effectName); };
    world.placeFinalTime = placeFinalTime;
}

} // namespace vastorim
