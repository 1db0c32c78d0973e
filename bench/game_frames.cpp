// Whole game frames: the demo pilot flying ship 0 in a busy game (well over a hundred asteroids,
// every weapon at level 4), with and without drawing on the offscreen surface. Reports frames per
// second and the share of the frame time that each update takes, recording the frame's inputs
// for its replay, and the drawing of the same field after game over, faded to black.
#include "engine/music_clock.h"
#include "engine/platform_access.h"
#include "engine/renderer.h"
#include "engine/run_inputs.h"
#include "engine/startup.h"
#include "game/world.h"
#include "game/world_tables.h"
#include "particles/emitter.h"
#include "platform/clock.h"
#include "running_game.h"

#include <benchmark/benchmark.h>

#include <array>
#include <chrono>
#include <vector>

namespace {

using namespace vastorim;
using Clock = std::chrono::steady_clock;

constexpr int busyAsteroids = 120;

int asteroidCount() {
    int count = 0;
    for (int k = 0; k <= world.lastAsteroid; ++k) {
        count += world.asteroids[k].size != kFreeSlot;
    }
    return count;
}

void fillAsteroidField() {
    for (int n = asteroidCount(); n < busyAsteroids; ++n) {
        spawnAsteroid(-1, n % 2 ? "asteroid1_1.txt" : "asteroid1_2.txt");
    }
}

// Keeps the game busy: the field topped up with large asteroids, every weapon at its top level
// and the ship alive, so that every measured frame is a frame of the same kind of game.
void keepBusy() {
    fillAsteroidField();
    Ship& ship = world.ships[0];
    ship.weapon1Level = ship.weapon2Level = ship.weapon3Level = 4;
    if (ship.particle.damage < 50) {
        ship.particle.damage = 100;
    }
}

enum Part {
    EmitterUpdate,
    MusicUpdate,
    WeaponsUpdate,
    AsteroidsUpdate,
    ShipsUpdate,
    PickupsUpdate,
    Drawing,
    Recording,
    PartCount
};
constexpr std::array<const char*, PartCount> partNames = {
    "emitter%",     "music%",         "fireWeapons%", "updateAsteroids%",
    "updateWorld%", "expirePickups%", "draw%",        "recording%"};

struct PartTimes {
    std::array<Clock::duration, PartCount> spent{};
    template <class Work> void measure(Part part, Work work) {
        const auto start = Clock::now();
        work();
        spent[part] += Clock::now() - start;
    }
};

// One iteration of the main loop as it runs in play, each update timed on its own; the pilot,
// where there is one, presses the keys.
void playFrame(PartTimes& times, DemoPilot* pilot, std::int64_t frame, std::int32_t& last,
               bool drawing) {
    std::int32_t now = 0;
    times.measure(Recording, [&] { now = beginFrameInputs(); });
    if (pilot != nullptr) {
        benchmarks::pressPilotKeys(*pilot, frame);
    }
    if (globals.finalTime == 0) {
        globals.gameClockTick = now;
    }
    globals.frameTime = static_cast<float>((now - last) * 0.001);
    last = now;
    times.measure(EmitterUpdate, [] { emitter.update(); });
    times.measure(MusicUpdate, [] {
        updateMusicClock();
        updateMusicTempo();
    });
    times.measure(WeaponsUpdate, fireWeapons);
    times.measure(AsteroidsUpdate, updateAsteroids);
    times.measure(ShipsUpdate, updateWorld);
    times.measure(PickupsUpdate, expirePickups);
    if (drawing) {
        times.measure(Drawing, renderFrame);
    }
    times.measure(Recording, endFrameInputs);
    currentPlatform()->clock->frameEnded();
}

// A busy game started, played frame by frame.
struct BusyGame {
    BusyGame() {
        startGame();
        keepBusy();
        last = currentTick();
    }
    void play(bool drawing) {
        playFrame(times, piloted ? &pilot : nullptr, frame++, last, drawing);
    }

    DemoPilot pilot;
    bool piloted = true;
    PartTimes times;
    std::int32_t last = 0;
    std::int64_t frame = 0;
};

void playBusyGame(benchmark::State& state, bool drawing) {
    BusyGame game;
    Clock::duration total{};
    for (auto _ : state) {
        if (asteroidCount() < busyAsteroids || world.ships[0].particle.damage < 50) {
            state.PauseTiming();
            keepBusy();
            state.ResumeTiming();
        }
        const auto start = Clock::now();
        game.play(drawing);
        total += Clock::now() - start;
    }
    const PartTimes& times = game.times;
    state.counters["fps"] =
        benchmark::Counter(static_cast<double>(game.frame), benchmark::Counter::kIsRate);
    state.counters["asteroids"] = asteroidCount();
    state.counters["shots"] = world.lastShot + 1;
    state.counters["particles"] = emitter.getParticles();
    for (int part = 0; part < PartCount; ++part) {
        state.counters[partNames[part]] = 100.0 * times.spent[part].count() / total.count();
    }
}

// After game over, faded to black: the busy field keeps moving under the game-over text, and
// nobody presses a key (the pilot would start the next game). Only the drawing is timed.
void drawFadedGameOver(benchmark::State& state) {
    BusyGame game;
    while (game.frame < 600) {
        game.play(false);
    }
    game.piloted = false;
    for (Ship& ship : world.ships) {
        ship.particle.damage = 0;
    }
    while (globals.globalFade > 0) {
        game.play(false);
    }
    for (auto _ : state) {
        state.PauseTiming();
        fillAsteroidField();
        game.play(false);
        state.ResumeTiming();
        renderFrame();
    }
    state.counters["asteroids"] = asteroidCount();
    state.counters["particles"] = emitter.getParticles();
    state.counters["drawCalls"] = drawCallsLastFrame();
}

// The benchmark runs inside the game's first frame, after everything is loaded.
template <typename Play> void gameFrames(benchmark::State& state, Play play) {
    benchmarks::runInsideGame(state, VASTORIM_PROGRAM_DIR, [&] { play(state); });
}

void busyGameWithoutDrawing(benchmark::State& state) {
    gameFrames(state, [](benchmark::State& s) { playBusyGame(s, false); });
}
void busyGameDrawn(benchmark::State& state) {
    gameFrames(state, [](benchmark::State& s) { playBusyGame(s, true); });
}
void fadedGameOverDrawn(benchmark::State& state) {
    gameFrames(state, drawFadedGameOver);
}

BENCHMARK(busyGameWithoutDrawing)->Iterations(20000)->Unit(benchmark::kMicrosecond);
BENCHMARK(busyGameDrawn)->Iterations(300)->Unit(benchmark::kMicrosecond);
BENCHMARK(fadedGameOverDrawn)->Iterations(300)->Unit(benchmark::kMicrosecond);

} // namespace
