#include "game/world.h"

#include "engine/game_setup.h"
#include "engine/music_clock.h"
#include "engine/numbers.h"
#include "engine/platform_access.h"
#include "engine/random.h"
#include "engine/startup.h"
#include "game/world_loading.h"
#include "game/world_tables.h"
#include "particles/emitter.h"

namespace vastorim {

namespace {

// The mean health of the ships on the 0..1 scale, never below 0.
float meanHealth() {
    if (world.ships.empty()) {
        return 0;
    }
    float sum = 0;
    for (const Ship& ship : world.ships) {
        sum += ship.particle.damage;
    }
    float h = sum / static_cast<float>(world.ships.size()) * 0.01f;
    return h < 0 ? 0 : h;
}

bool isTypeOf(const Effect& effect, const std::string& name) {
    for (std::int16_t k = 0; k < effect.getParticles(); ++k) {
        if (effect.getParticle(k)->name == name) {
            return true;
        }
    }
    return false;
}

// The glow is green while the ships are healthy and turns red as they are damaged. Its particles
// fill the lowest dead slots of the emitter, so they lie at the returned slot and the three below
// it only when no dead slot was left lower down; they are found instead as the particles of the
// background's types that have not aged yet: those spawned just now.
void spawnBackgroundGlow() {
    float h = meanHealth();
    emitter.spawnEffect(0, 0, "background.txt");
    const Effect* background = emitter.getEffect("background.txt");
    if (background == nullptr) {
        return;
    }
    for (std::int16_t i = 0; i < emitter.getParticles(); ++i) {
        Particle* glow = emitter.getParticle(i);
        if (glow->killAt != -1 && glow->age == 0 && isTypeOf(*background, glow->name)) {
            glow->colourR.setKeyVal(0, (1 - h) * 255);
            glow->colourG.setKeyVal(0, h * 255);
        }
    }
}

} // namespace

void updateWorld() {
    if (music.fourBeatFlag) {
        spawnBackgroundGlow();
    }
    float total = 0;
    for (int i = 0; i <= world.lastShip; ++i) {
        updateShip(i);
        total += world.ships[i].particle.damage;
    }
    if (total <= 0) {
        if (globals.finalTime == 0) {
            endGame();
        }
        globals.globalFade -= globals.frameTime * 0.1f;
        if (globals.globalFade < 0) {
            globals.globalFade = 0;
        }
    }
}

std::int32_t elapsedGameTime() {
    return globals.finalTime != 0 ? globals.finalTime
                                  : globals.gameClockTick - globals.gameStartTick;
}

void endGame() {
    globals.finalTime = globals.gameClockTick - globals.gameStartTick;
    world.scorePlace = -1;
    if (onlineEnabled && world.placeFinalTime) {
        world.placeFinalTime(globals.finalTime);
    }
}

void startGame() {
    globals.globalFade = 1;
    globals.gameStartTick = currentTick();
    globals.gameClockTick = globals.gameStartTick;
    globals.finalTime = 0;
    clearAsteroidsAndPickups();
    clearProjectiles();
    loadPlayers();
    for (int n = 0; n < 2; ++n) {
        spawnAsteroid(-1, "asteroid1_" + std::to_string(toInteger(rnd() + 1.0f)) + ".txt");
    }
    globals.gameMode = 1;
    restartMusic();
    globals.gamePaused = false;
}

namespace {

void backToMenu() {
    globals.gameMode = 0;
    clearHeldKeys();
}

} // namespace

void pauseGame() {
    backToMenu();
    globals.gamePaused = true;
    globals.pauseTick = globals.gameClockTick;
}

void leaveGame() {
    backToMenu();
    globals.gamePaused = false;
    globals.globalFade = 1;
    restartMusic();
}

void suspendOrLeaveGame() {
    if (globals.globalFade == 1) {
        pauseGame();
    } else {
        leaveGame();
    }
}

void resumeGame() {
    globals.gameMode = 1;
    globals.gameStartTick += globals.gameClockTick - globals.pauseTick;
    globals.gamePaused = false;
}

} // namespace vastorim
