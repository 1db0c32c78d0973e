#include "world_fixture.h"

#include "engine/app_path.h"
#include "engine/game_setup.h"
#include "engine/music_clock.h"
#include "engine/random.h"
#include "engine/startup.h"
#include "game/world.h"
#include "game/world_loading.h"
#include "particles/emitter.h"

#include <map>

namespace vastorim::testing {

namespace {

struct TypeFields {
    std::string speedX = "0";
    std::string speedY = "0";
    int spawn = 1;
    int lifetime = 1;
    std::string x = "0";
};

std::string typeLine(const std::string& name, const TypeFields& t) {
    return name + ",1:0|255,1:0|255,1:0|255,1:0|200,1:0|16,1:0|16,1:0|" + t.speedX + ",1:0|" +
           t.speedY + ",1:0|2,spark," + std::to_string(t.spawn) + ",1,0,0," +
           std::to_string(t.lifetime) + "," + t.x + ",0\r\n";
}

// File name (without ".txt") and its contents.
std::map<std::string, std::string> testEffects() {
    std::map<std::string, std::string> effects;
    auto add = [&](const std::string& name, TypeFields fields = {}) {
        effects[name] = typeLine(name, fields);
    };
    for (const char* name :
         {"player", "asteroid1_1", "asteroid1_2", "asteroid2_1", "asteroid2_2", "asteroid3_1",
          "asteroid3_2", "explode_large", "explode_medium", "explode_small", "explode_ship",
          "hit_small", "hit_medium", "pickup_over", "engine1"}) {
        add(name);
    }
    add("pickup", {.lifetime = 5});
    add("background", {.spawn = 4, .lifetime = 8});
    for (int weapon = 1; weapon <= 3; ++weapon) {
        for (int level = 1; level <= 4; ++level) {
            std::string name = "weapon" + std::to_string(weapon) + "_" + std::to_string(level);
            // Its horizontal speed is the seed it was given: the firing ship's heading.
            add(name, {.speedX = "seed", .speedY = "100", .lifetime = 2, .x = "5"});
            add(name + "_trail");
        }
    }
    effects["weapon1_3"] += typeLine("weapon1_3", {.speedY = "110", .lifetime = 2}) +
                            typeLine("weapon1_3", {.speedY = "120", .lifetime = 2});
    return effects;
}

} // namespace

void WorldTest::SetUp() {
    std::string list;
    for (const auto& [name, types] : testEffects()) {
        folder.write("effects/" + name + ".txt", types + "END\r\n");
        list += name + ".txt\r\n";
    }
    folder.write("effects/effect list.txt", list + "END\r\n");
    setAppPath(folder.path());

    resetGlobalState();
    resetMusicClock();
    resetWorld();
    hitEffects = true;
    onlineEnabled = false;
    globals.frameTime = 0;
    pinRandomSeed(true);
    seedRandom(1);
    loadEffectList();
    clearAsteroidsAndPickups();
    clearProjectiles();
    loadShips(1);
}

void WorldTest::TearDown() {
    pinRandomSeed(false);
    resetWorld();
}

void WorldTest::loadShips(int count) {
    folder.write("game setup.txt",
                 "false\r\ntrue\r\nfalse\r\n" + std::to_string(count) +
                     "\r\nup\r\ndown\r\nleft\r\nright\r\nspace\r\nW\r\ns\r\na\r\nd\r\n"
                     "Control\r\n");
    loadPlayers();
}

std::vector<Particle*> WorldTest::live(const std::string& name) {
    std::vector<Particle*> found;
    for (std::int16_t i = 0; i < emitter.getParticles(); ++i) {
        Particle* p = emitter.getParticle(i);
        if (p->killAt != -1 && p->name == name) {
            found.push_back(p);
        }
    }
    return found;
}

void WorldTest::setBeats(bool half, bool beat, bool two, bool four) {
    music.halfBeatFlag = half;
    music.beatFlag = beat;
    music.twoBeatFlag = two;
    music.fourBeatFlag = four;
}

namespace {

Particle placed(std::int32_t lifetime, float damage, double x, double y) {
    Particle particle;
    particle.initialize();
    particle.killAt = lifetime;
    particle.damage = damage;
    particle.x = x;
    particle.y = y;
    return particle;
}

} // namespace

Asteroid& WorldTest::placeAsteroid(int k, int size, double x, double y) {
    Asteroid& asteroid = world.asteroids[k];
    asteroid.particle = placed(1, static_cast<float>((4 - size) * 20), x, y);
    asteroid.size = static_cast<std::int16_t>(size);
    asteroid.cell = gridCell(x, y);
    world.lastAsteroid = std::max<std::int16_t>(world.lastAsteroid, static_cast<std::int16_t>(k));
    return asteroid;
}

Shot& WorldTest::placeShot(int j, float power, double x, double y) {
    Shot& shot = world.shots[j];
    shot.particle = placed(2, power, x, y);
    shot.owner = 0;
    shot.cell = gridCell(x, y);
    world.lastShot = std::max<std::int16_t>(world.lastShot, static_cast<std::int16_t>(j));
    return shot;
}

} // namespace vastorim::testing
