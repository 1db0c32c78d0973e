#pragma once

#include "game/world_tables.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace vastorim::testing {

// A program folder of small effect files, loaded into the emitter, one player on the arrow keys
// and space, clean global, music and world state, a pinned seed and no beat flag set. Every
// particle type is named after its file, so a test can count what a step spawned.
class WorldTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Rewrites the setup file with one player on the arrow keys and space, or two with the second
    // on W, S, A, D and Control, and loads them.
    void loadShips(int count);

    static Ship& ship(int i = 0) { return world.ships[i]; }
    static Particle& rock(int k) { return world.asteroids[k].particle; }
    static double speedX(const Particle& p) { return p.speedX.getValue(0); }
    using XY = std::pair<double, double>;
    static XY at(const Particle& p) { return {p.x, p.y}; }
    static XY velocity(const Particle& p) { return {speedX(p), p.speedY.getValue(0)}; }
    static void putAt(Particle& p, double x, double y) {
        p.x = x;
        p.y = y;
    }
    static void setVelocity(Particle& p, double vx, double vy) {
        p.speedX.setKeyVal(0, vx);
        p.speedY.setKeyVal(0, vy);
    }

    // The live emitter particles of the type called name, lowest slot first.
    static std::vector<Particle*> live(const std::string& name);

    static void setBeats(bool half, bool beat, bool two, bool four);

    // An alive asteroid of that size in slot k, at rest at (x, y), its cell up to date; the
    // bound grows to cover it.
    static Asteroid& placeAsteroid(int k, int size, double x, double y);
    // A flying shot of that power in slot j at (x, y), its cell up to date.
    static Shot& placeShot(int j, float power, double x, double y);

    test::TempFolder folder;
};

} // namespace vastorim::testing
