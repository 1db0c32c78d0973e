#include "world_fixture.h"

#include "engine/music_clock.h"
#include "engine/numbers.h"
#include "engine/random.h"
#include "engine/startup.h"
#include "game/world.h"
#include "game/world_loading.h"

namespace vastorim::testing {
namespace {

using AsteroidTest = WorldTest;

TEST_F(AsteroidTest, FragmentsStartAtTheParentAndGoFasterWithTheMusic) {
    placeAsteroid(0, 1, 300, 200);
    spawnAsteroid(0, "asteroid2_1.txt");
    EXPECT_EQ(world.asteroids[1].size, 2);
    EXPECT_EQ(rock(1).damage, 40);
    EXPECT_EQ(velocity(rock(1)), XY(20, 20));
    EXPECT_EQ(at(rock(1)), XY(300, 200));

    music.musicFrequency = 32049.6; // 10050 after rounding: q = 100
    seedRandom(3);
    double vx = rnd() * 100.0 + 20;
    double vy = rnd() * 100.0 + 20;
    seedRandom(3);
    spawnAsteroid(1, "asteroid3_1.txt");
    EXPECT_EQ(rock(2).damage, 20);
    EXPECT_EQ(velocity(rock(2)), XY(vx, vy));
}

TEST_F(AsteroidTest, ALargeOneBreaksIntoTwoMediumWithAnExplosionAndHalfTheTimeAPickup) {
    bool seen[2] = {false, false};
    for (std::uint64_t seed = 1; seed <= 8; ++seed) {
        clearAsteroidsAndPickups();
        placeAsteroid(0, 1, 400, 300);
        seedRandom(seed);
        for (int draw = 0; draw < 4; ++draw) {
            rnd(); // the fragments' speeds
        }
        bool pickup = toInteger(2 * rnd()) == 1;
        seen[pickup ? 1 : 0] = true;
        seedRandom(seed);
        int explosions = liveCount("explode_large");
        breakAsteroid(0);
        EXPECT_EQ(world.asteroids[0].size, kFreeSlot);
        EXPECT_EQ(rock(1).name, "asteroid2_1");
        EXPECT_EQ(rock(2).name, "asteroid2_2");
        EXPECT_EQ(world.asteroids[2].size, 2);
        EXPECT_EQ(world.lastAsteroid, 2);
        EXPECT_EQ(liveCount("explode_large"), explosions + 1);
        EXPECT_EQ(world.lastPickup, pickup ? 0 : -1) << "seed " << seed;
    }
    EXPECT_TRUE(seen[0] && seen[1]);
}

TEST_F(AsteroidTest, TintThrobSpinMoveAndCell) {
    placeAsteroid(0, 1, 250, 340);
    rock(0).damage = 30;
    rock(0).colourA.setKeyVal(0, 200);
    rock(0).rotation.setKeyVal(0, 2);
    rock(0).speedX.setKeyVal(0, -100);
    rock(0).speedY.setKeyVal(0, 40);
    globals.frameTime = 0.5f;
    updateAsteroid(0);
    EXPECT_EQ(rock(0).colourR.getValue(0), 255);
    EXPECT_EQ(rock(0).colourG.getValue(0), 127.5);
    EXPECT_EQ(rock(0).colourB.getValue(0), 127.5);
    EXPECT_EQ(rock(0).colourA.getValue(0), 170);
    EXPECT_EQ(rock(0).angle, 1);
    EXPECT_EQ(at(rock(0)), XY(200, 360));
    EXPECT_EQ(world.asteroids[0].cell, 2 + 3 * 10);
    updateAsteroid(0);
    EXPECT_EQ(rock(0).colourA.getValue(0), 150);
    setBeats(false, false, false, true);
    globals.frameTime = 0.25f;
    updateAsteroid(0);
    EXPECT_EQ(rock(0).colourA.getValue(0), 240);
}

TEST_F(AsteroidTest, EdgesTurnOutwardMotionBackWithoutClampingThePosition) {
    placeAsteroid(0, 1, 25, 300); // radius 30 reaches past the left edge
    rock(0).speedX.setKeyVal(0, -7);
    confineAsteroid(0);
    confineAsteroid(0);
    EXPECT_EQ(speedX(rock(0)), 7);
    EXPECT_EQ(rock(0).x, 25);
    placeAsteroid(1, 3, 1039, 783); // outside, moving in: flies in
    rock(1).speedX.setKeyVal(0, -5);
    rock(1).speedY.setKeyVal(0, 5);
    confineAsteroid(1);
    EXPECT_EQ(velocity(rock(1)), XY(-5, -5));
}

} // namespace
} // namespace vastorim::testing
