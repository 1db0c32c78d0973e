// Whole playing frames of a busy world without drawing: the emitter's particles, the weapons
// and shots, the asteroids, the ships and the pickups, on the shipped content.
#include "engine/app_path.h"
#include "engine/mod_dx8_sound.h"
#include "engine/mod_vbp_start.h"
#include "engine/random.h"
#include "game/mod_game_globals.h"
#include "game/mod_game_load.h"
#include "game/mod_game_update.h"
#include "particles/clsEmitter.h"

#include <benchmark/benchmark.h>

#include <exception>

namespace vastorim {
namespace {

constexpr float kFrameTime = 0.0005f; // 2000 frames per second
constexpr int kAsteroids = 120;
constexpr int kFramesPerHalfBeat = 860; // about 70 beats a minute at that rate

void keepBusy() {
    int alive = 0;
    for (int k = 0; k <= world.lastAsteroid; ++k) {
        alive += world.asteroids[k].size != kFreeSlot ? 1 : 0;
    }
    for (; alive < kAsteroids; ++alive) {
        spawnAsteroid(-1, "asteroid1_1.txt");
    }
    for (Ship& ship : world.ships) {
        ship.particle.damage = 100; // an immortal pilot keeps the game going
    }
}

void setBeats(long frame) {
    long half = frame / kFramesPerHalfBeat;
    bool step = frame % kFramesPerHalfBeat == 0;
    music.halfBeatFlag = step;
    music.beatFlag = step && half % 2 == 0;
    music.twoBeatFlag = step && half % 4 == 0;
    music.fourBeatFlag = step && half % 8 == 0;
}

void BM_BusyWorldFrame(benchmark::State& state) {
    setAppPath(VASTORIM_PROGRAM_DIR);
    resetGlobalState();
    resetWorld();
    pinRandomSeed(true);
    seedRandom(1);
    try {
        loadEffectList();
        loadPlayers();
    } catch (const std::exception& error) {
        state.SkipWithError(error.what());
        return;
    }
    clearAsteroidsAndPickups();
    clearProjectiles();
    globals.gameMode = 1;
    globals.frameTime = kFrameTime;
    music.musicFrequency = 40000;
    Ship& pilot = world.ships[0];
    pilot.weapon1Level = pilot.weapon2Level = pilot.weapon3Level = 4;
    pilot.fireHeld = pilot.upHeld = pilot.leftHeld = true;
    long frame = 0;
    for (auto _ : state) {
        keepBusy();
        setBeats(frame++);
        emitter.update();
        fireWeapons();
        updateAsteroids();
        updateWorld();
        expirePickups();
    }
    state.counters["fps"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["particles"] = emitter.getParticles();
    state.counters["shots"] = world.lastShot + 1;
    pinRandomSeed(false);
}

BENCHMARK(BM_BusyWorldFrame)->MinTime(3);

} // namespace
} // namespace vastorim
