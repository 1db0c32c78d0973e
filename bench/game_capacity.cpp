// Whole frames with every table full: 10,001 asteroids, 10,001 shots, the emitter's 10,001
// particles and four ships, without drawing and drawn on the offscreen surface; and frames with
// 100, 1,000 and 10,001 asteroids alone, to show how the frame time grows with the field.
#include "engine/platform_access.h"
#include "engine/random.h"
#include "engine/renderer.h"
#include "engine/startup.h"
#include "game/world.h"
#include "game/world_loading.h"
#include "game/world_tables.h"
#include "particles/emitter.h"
#include "platform/clock.h"
#include "running_game.h"
#include "screens/game_hooks.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

using namespace vastorim;
namespace fs = std::filesystem;

constexpr int fullTable = kWorldSlots;

// The built content with a setup file of four players, in a temporary folder.
class FourPlayerFolder {
  public:
    FourPlayerFolder() : path_(fs::temp_directory_path() / "vastorim-capacity") {
        fs::remove_all(path_);
        fs::create_directories(path_);
        for (const char* content : {"effects", "graphics", "sound"}) {
            fs::create_directory_symlink(fs::path(VASTORIM_PROGRAM_DIR) / content, path_ / content);
        }
        std::ofstream setup(path_ / "game setup.txt", std::ios::binary);
        setup << "false\r\nfalse\r\nfalse\r\n4\r\n";
        for (const char* keys :
             {"up down left right space", "w s a d control", "i k j l u", "t g f h r"}) {
            for (const char* key = keys; *key != '\0';) {
                const char* end = key;
                while (*end != '\0' && *end != ' ') {
                    ++end;
                }
                setup << std::string(key, end) << "\r\n";
                key = *end == ' ' ? end + 1 : end;
            }
        }
    }
    ~FourPlayerFolder() { fs::remove_all(path_); }
    std::string path() const { return path_.string(); }

  private:
    fs::path path_;
};

// The taken slots up to the table's bound.
int occupied(const auto& table, std::int16_t last, auto marker) {
    int count = 0;
    for (int slot = 0; slot <= last; ++slot) {
        count += table[static_cast<std::size_t>(slot)].*marker != kFreeSlot;
    }
    return count;
}

int asteroidCount() {
    return occupied(world.asteroids, world.lastAsteroid, &Asteroid::size);
}
int shotCount() {
    return occupied(world.shots, world.lastShot, &Shot::owner);
}

// Tops the tables up to their sizes: asteroids scattered over the field, shots from the ships in
// turn, and the emitter filled with smoke. The ships are kept alive.
void fill(int asteroids, bool withShots) {
    for (int n = asteroidCount(); n < asteroids; ++n) {
        spawnAsteroid(-1, n % 2 ? "asteroid1_1.txt" : "asteroid1_2.txt");
        Particle& placed = world.asteroids[world.lastAsteroid].particle;
        placed.x = rnd() * 1024.0;
        placed.y = rnd() * 768.0;
    }
    for (int n = shotCount(); withShots && n < fullTable;) {
        const int before = n;
        fireWeapon(static_cast<std::int16_t>(n % 4), "weapon1_4.txt", 10);
        n = shotCount();
        if (n == before) {
            break;
        }
    }
    for (int spawns = 0;
         withShots && emitter.getParticles() < Emitter::kSlots && spawns < Emitter::kSlots;
         ++spawns) {
        emitter.spawnEffect(rnd() * 1024.0, rnd() * 768.0, "explode_large.txt");
    }
    for (Ship& ship : world.ships) {
        ship.particle.damage = 100;
    }
}

void frame(bool drawing) {
    emitter.update();
    updatePlayingFrame();
    if (drawing) {
        renderFrame();
    }
    currentPlatform()->clock->frameEnded();
    globals.frameTime = 0.016f;
}

void timeFrames(benchmark::State& state, int asteroids, bool withShots, bool drawing) {
    const FourPlayerFolder folder;
    benchmarks::runInsideGame(state, folder.path(), [&] {
        startGame();
        clearAsteroidsAndPickups();
        clearProjectiles();
        for (auto _ : state) {
            state.PauseTiming();
            fill(asteroids, withShots);
            state.ResumeTiming();
            frame(drawing);
        }
        state.counters["asteroids"] = asteroidCount();
        state.counters["shots"] = shotCount();
        state.counters["particles"] = emitter.getParticles();
        state.counters["ships"] = world.lastShip + 1;
    });
}

void fullTablesWithoutDrawing(benchmark::State& state) {
    timeFrames(state, fullTable, true, false);
}
void fullTablesDrawn(benchmark::State& state) {
    timeFrames(state, fullTable, true, true);
}
void asteroidsOnly(benchmark::State& state) {
    timeFrames(state, static_cast<int>(state.range(0)), false, false);
}

BENCHMARK(fullTablesWithoutDrawing)->Iterations(20)->Unit(benchmark::kMillisecond);
BENCHMARK(fullTablesDrawn)->Iterations(10)->Unit(benchmark::kMillisecond);
BENCHMARK(asteroidsOnly)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(fullTable)
    ->Iterations(50)
    ->Unit(benchmark::kMillisecond);

} // namespace
