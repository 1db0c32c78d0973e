#pragma once

#include "engine/game_setup.h"
#include "engine/music_clock.h"
#include "engine/numbers.h"
#include "engine/random.h"
#include "game/world.h"
#include "game/world_loading.h"
#include "game/world_tables.h"
#include "particles/emitter.h"
#include "support/engine_fixture.h"

#include <array>
#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace vastorim::testing {

// A program folder of small effect files, loaded into the emitter, one player on the arrow keys
// and space, clean global, music and world state, a pinned seed and no beat flag set. Every
// particle type is named after its file, so a test can count what a step spawned.
class WorldTest : public test::EngineTest {
  protected:
    void SetUp() override {
        std::string list;
        for (const auto& [name, types] : testEffects()) {
            folder.write("effects/" + name + ".txt", types + "END\r\n");
            list += name + ".txt\r\n";
        }
        folder.write("effects/effect list.txt", list + "END\r\n");
        resetMusicClock();
        resetWorld();
        hitEffects = true;
        onlineEnabled = false;
        pinRandomSeed(true);
        seedRandom(1);
        loadEffectList();
        clearAsteroidsAndPickups();
        clearProjectiles();
        loadShips(1);
    }
    void TearDown() override {
        pinRandomSeed(false);
        resetWorld();
    }

    // Rewrites the setup file with one player on the arrow keys and space, or two with the second
    // on W, S, A, D and Control, and loads them.
    void loadShips(int count) {
        folder.write("game setup.txt", "false\r\ntrue\r\nfalse\r\n" + std::to_string(count) +
                                           "\r\nup\r\ndown\r\nleft\r\nright\r\nspace\r\n"
                                           "W\r\ns\r\na\r\nd\r\nControl\r\n");
        loadPlayers();
    }

    static Ship& ship(int i = 0) { return world.ships[i]; }
    static Particle& rock(int k) { return world.asteroids[k].particle; }
    static double speedX(const Particle& p) { return p.speedX.getValue(0); }
    using XY = std::pair<double, double>;
    static XY at(const Particle& p) { return {p.x, p.y}; }
    static XY velocity(const Particle& p) { return {speedX(p), p.speedY.getValue(0)}; }
    using RGBA = std::array<double, 4>;
    static RGBA colour(const Particle& p) {
        return {p.colourR.getValue(0), p.colourG.getValue(0), p.colourB.getValue(0),
                p.colourA.getValue(0)};
    }
    static void putAt(Particle& p, double x, double y) { std::tie(p.x, p.y) = std::tuple(x, y); }
    static void setVelocity(Particle& p, double vx, double vy) {
        p.speedX.setKeyVal(0, vx);
        p.speedY.setKeyVal(0, vy);
    }

    // The live emitter particles of the type called name, lowest slot first.
    static std::vector<Particle*> live(const std::string& name) {
        std::vector<Particle*> found;
        for (std::int16_t i = 0; i < emitter.getParticles(); ++i) {
            Particle* p = emitter.getParticle(i);
            if (p->killAt != -1 && p->name == name) {
                found.push_back(p);
            }
        }
        return found;
    }

    static void setBeats(bool half, bool beat, bool two, bool four) {
        std::tie(music.halfBeatFlag, music.beatFlag, music.twoBeatFlag, music.fourBeatFlag) =
            std::tuple(half, beat, two, four);
    }

    // An alive asteroid of that size in slot k, at rest at (x, y), its cell up to date; the
    // bound grows to cover it.
    static Asteroid& placeAsteroid(int k, int size, double x, double y) {
        Asteroid& asteroid = world.asteroids[k];
        asteroid.particle = placed(1, static_cast<float>((4 - size) * 20), x, y);
        asteroid.size = static_cast<std::int16_t>(size);
        asteroid.cell = gridCell(x, y);
        world.lastAsteroid = std::max(world.lastAsteroid, static_cast<std::int16_t>(k));
        return asteroid;
    }
    // A flying shot of that power from ship 0 in slot j at (x, y), its cell up to date.
    static void placeShot(int j, float power, double x, double y) {
        Shot& shot = world.shots[j];
        shot.particle = placed(2, power, x, y);
        shot.owner = 0;
        shot.cell = gridCell(x, y);
        world.lastShot = std::max(world.lastShot, static_cast<std::int16_t>(j));
    }

  private:
    static Particle placed(std::int32_t lifetime, float damage, double x, double y) {
        Particle particle;
        particle.initialize();
        particle.killAt = lifetime;
        particle.damage = damage;
        putAt(particle, x, y);
        return particle;
    }

    // File name (without ".txt") and its types: one each, named after the file, unless given.
    static std::map<std::string, std::string> testEffects() {
        struct Fields {
            std::string speedX = "0", speedY = "0";
            int spawn = 1, lifetime = 1;
            std::string x = "0";
        };
        const auto line = [](const std::string& name, const Fields& t) {
            return name + ",1:0|255,1:0|255,1:0|255,1:0|200,1:0|16,1:0|16,1:0|" + t.speedX +
                   ",1:0|" + t.speedY + ",1:0|2,spark," + std::to_string(t.spawn) + ",1,0,0," +
                   std::to_string(t.lifetime) + "," + t.x + ",0\r\n";
        };
        std::map<std::string, std::string> effects;
        for (const char* name :
             {"player", "asteroid1_1", "asteroid1_2", "asteroid2_1", "asteroid2_2", "asteroid3_1",
              "asteroid3_2", "explode_large", "explode_medium", "explode_small", "explode_ship",
              "hit_small", "hit_medium", "pickup_over", "engine1"}) {
            effects[name] = line(name, {});
        }
        effects["pickup"] = line("pickup", {.lifetime = 5});
        effects["background"] = line("background", {.spawn = 4, .lifetime = 8});
        for (int weapon = 1; weapon <= 3; ++weapon) {
            for (int level = 1; level <= 4; ++level) {
                const std::string name =
                    "weapon" + std::to_string(weapon) + "_" + std::to_string(level);
                // Its horizontal speed is the seed it was given: the firing ship's heading.
                effects[name] =
                    line(name, {.speedX = "seed", .speedY = "100", .lifetime = 2, .x = "5"});
                effects[name + "_trail"] = line(name + "_trail", {});
            }
        }
        effects["weapon1_3"] += line("weapon1_3", {.speedY = "110", .lifetime = 2}) +
                                line("weapon1_3", {.speedY = "120", .lifetime = 2});
        return effects;
    }
};

} // namespace vastorim::testing
