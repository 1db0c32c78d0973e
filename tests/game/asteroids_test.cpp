#include "world_fixture.h"

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
    const XY expected{rnd() * 100.0 + 20, rnd() * 100.0 + 20}; // drawn in order
    seedRandom(3);
    spawnAsteroid(1, "asteroid3_1.txt");
    EXPECT_EQ(rock(2).damage, 20);
    EXPECT_EQ(velocity(rock(2)), expected);
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
        const bool pickup = toInteger(2 * rnd()) == 1;
        seen[pickup ? 1 : 0] = true;
        seedRandom(seed);
        const std::size_t explosions = live("explode_large").size();
        breakAsteroid(0);
        EXPECT_EQ(world.asteroids[0].size, kFreeSlot);
        EXPECT_EQ(rock(1).name, "asteroid2_1");
        EXPECT_EQ(rock(2).name, "asteroid2_2");
        EXPECT_EQ(world.asteroids[2].size, 2);
        EXPECT_EQ(world.lastAsteroid, 2);
        EXPECT_EQ(live("explode_large").size(), explosions + 1);
        EXPECT_EQ(world.lastPickup, pickup ? 0 : -1) << "seed " << seed;
    }
    EXPECT_TRUE(seen[0] && seen[1]);
}

// A large asteroid down to half its hit points is tinted half red; its alpha falls 60 a second
// to a resting 150 and flashes back to full on the four-beat.
TEST_F(AsteroidTest, TintThrobSpinMoveAndCell) {
    Particle& p = placeAsteroid(0, 1, 250, 340).particle;
    p.damage = 30;
    p.colourA.setKeyVal(0, 200);
    p.rotation.setKeyVal(0, 2);
    setVelocity(p, -100, 40);
    globals.frameTime = 0.5f;
    updateAsteroid(0);
    EXPECT_EQ(p.colourR.getValue(0), 255);
    EXPECT_EQ(p.colourG.getValue(0), 127.5);
    EXPECT_EQ(p.colourB.getValue(0), 127.5);
    EXPECT_EQ(p.colourA.getValue(0), 170);
    EXPECT_EQ(p.angle, 1);
    EXPECT_EQ(at(p), XY(200, 360));
    EXPECT_EQ(world.asteroids[0].cell, 2 + 3 * 10);
    updateAsteroid(0);
    EXPECT_EQ(p.colourA.getValue(0), 150);
    setBeats(false, false, false, true);
    globals.frameTime = 0.25f;
    updateAsteroid(0);
    EXPECT_EQ(p.colourA.getValue(0), 240);
}

TEST_F(AsteroidTest, EdgesTurnOutwardMotionBackWithoutClampingThePosition) {
    placeAsteroid(0, 1, 25, 300); // radius 30 reaches past the left edge
    setVelocity(rock(0), -7, 0);
    confineAsteroid(0);
    confineAsteroid(0);
    EXPECT_EQ(velocity(rock(0)), XY(7, 0));
    EXPECT_EQ(rock(0).x, 25);
    placeAsteroid(1, 3, 1039, 783); // outside, moving in: flies in
    setVelocity(rock(1), -5, 5);
    confineAsteroid(1);
    EXPECT_EQ(velocity(rock(1)), XY(-5, -5));
}

} // namespace
} // namespace vastorim::testing
