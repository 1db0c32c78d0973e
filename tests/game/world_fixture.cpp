#include "world_fixture.h"

#include "engine/app_path.h"
#include "engine/mod_dx8_sound.h"
#include "engine/mod_game_load.h"
#include "engine/mod_vbp_start.h"
#include "engine/random.h"
#include "game/mod_game_load.h"
#include "game/mod_game_update.h"
#include "particles/clsEmitter.h"

#include <chrono>
#include <fstream>
#include <map>

namespace vastorim::testing {

namespace {

struct TypeSpec {
    std::string speedx = "0";
    std::string speedy = "0";
    std::string rotation = "0";
    int spawn = 1;
    int lifetime = 1;
    std::string x = "0";
};

std::string typeLine(const std::string& name, const TypeSpec& t) {
    return name + ",1:0|255,1:0|255,1:0|255,1:0|200,1:0|16,1:0|16,1:0|" + t.speedx + ",1:0|" +
           t.speedy + ",1:0|" + t.rotation + ",spark," + std::to_string(t.spawn) + ",1,0,0," +
           std::to_string(t.lifetime) + "," + t.x + ",0";
}

// name -> its particle types.
std::map<std::string, std::vector<std::string>> testEffects() {
    std::map<std::string, std::vector<std::string>> effects;
    auto single = [&](const std::string& name, TypeSpec spec = {}) {
        effects[name] = {typeLine(name, spec)};
    };
    single("player");
    for (const char* rock : {"asteroid1_1", "asteroid1_2", "asteroid2_1", "asteroid2_2",
                             "asteroid3_1", "asteroid3_2"}) {
        single(rock, {.rotation = "2"});
    }
    for (const char* spark : {"explode_large", "explode_medium", "explode_small", "explode_ship",
                              "hit_small", "hit_medium", "pickup_over", "engine1"}) {
        single(spark);
    }
    single("pickup", {.lifetime = 5});
    single("background", {.spawn = 4, .lifetime = 8});
    for (int weapon = 1; weapon <= 3; ++weapon) {
        for (int level = 1; level <= 4; ++level) {
            std::string name = "weapon" + std::to_string(weapon) + "_" + std::to_string(level);
            // The shot's horizontal speed is the seed it was given: the firing ship's heading.
            single(name, {.speedx = "seed", .speedy = "100", .lifetime = 2, .x = "5"});
            if (weapon == 3) {
                single(name + "_trail");
            }
        }
    }
    // A volley of three.
    effects["weapon1_3"] = {typeLine("weapon1_3", {.speedy = "100", .lifetime = 2}),
                            typeLine("weapon1_3", {.speedy = "110", .lifetime = 2}),
                            typeLine("weapon1_3", {.speedy = "120", .lifetime = 2})};
    return effects;
}

void writeLines(const std::filesystem::path& path, const std::vector<std::string>& lines) {
    std::ofstream out(path, std::ios::binary);
    for (const std::string& line : lines) {
        out << line << "\r\n";
    }
}

} // namespace

void WorldTest::SetUp() {
    static int serial = 0;
    folder = std::filesystem::temp_directory_path() /
             ("vastorim-world-" +
              std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()) + "-" +
              std::to_string(++serial));
    std::filesystem::create_directories(folder / "effects");
    std::vector<std::string> list;
    for (const auto& [name, types] : testEffects()) {
        std::vector<std::string> lines = types;
        lines.push_back("END");
        writeLines(folder / "effects" / (name + ".txt"), lines);
        list.push_back(name + ".txt");
    }
    list.push_back("END");
    writeLines(folder / "effects" / "effect list.txt", list);
    setAppPath(folder.string());

    resetGlobalState();
    resetMusicClock();
    resetWorld();
    hitEffects = true;
    onlineEnabled = false;
    globals.frameTime = 0.01f;
    pinRandomSeed(true);
    seedRandom(1);
    loadEffectList();
    clearAsteroidsAndPickups();
    clearProjectiles();
}

void WorldTest::TearDown() {
    pinRandomSeed(false);
    resetWorld();
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

void WorldTest::loadShips(const std::vector<std::vector<std::string>>& players) {
    std::vector<std::string> lines = {"false", "true", "false", std::to_string(players.size())};
    for (const auto& keys : players) {
        lines.insert(lines.end(), keys.begin(), keys.end());
    }
    writeLines(folder / "game setup.txt", lines);
    loadPlayers();
}

void WorldTest::loadOneShip() {
    loadShips({{"up", "down", "left", "right", "space"}});
}

int WorldTest::liveCount(const std::string& name) const {
    int count = 0;
    for (std::int16_t i = 0; i < emitter.getParticles(); ++i) {
        const clsParticle* p = emitter.getParticle(i);
        if (p != nullptr && p->lngKillat != -1 && p->sName == name) {
            ++count;
        }
    }
    return count;
}

clsParticle* WorldTest::firstLive(const std::string& name) const {
    for (std::int16_t i = 0; i < emitter.getParticles(); ++i) {
        clsParticle* p = emitter.getParticle(i);
        if (p != nullptr && p->lngKillat != -1 && p->sName == name) {
            return p;
        }
    }
    return nullptr;
}

void WorldTest::setBeats(bool half, bool beat, bool two, bool four) {
    music.halfBeatFlag = half;
    music.beatFlag = beat;
    music.twoBeatFlag = two;
    music.fourBeatFlag = four;
}

Asteroid& WorldTest::placeAsteroid(int k, int size, double x, double y) {
    Asteroid& asteroid = world.asteroids[k];
    asteroid.particle = clsParticle{};
    asteroid.particle.initialize();
    asteroid.particle.lngKillat = 1;
    asteroid.particle.damage = static_cast<float>((4 - size) * 20);
    asteroid.particle.dblX = x;
    asteroid.particle.dblY = y;
    asteroid.size = static_cast<std::int16_t>(size);
    asteroid.cell = gridCell(x, y);
    if (world.lastAsteroid < k) {
        world.lastAsteroid = static_cast<std::int16_t>(k);
    }
    return asteroid;
}

} // namespace vastorim::testing
