// The asteroids, their contacts with ships and shots, and the pickups they leave.
#include "world_fixture.h"

#include <array>
#include <cmath>

namespace vastorim::testing {
namespace {

using AsteroidTest = WorldTest;

TEST_F(AsteroidTest, FragmentsStartAtTheParentAndGoFasterWithTheMusic) {
    placeAsteroid(0, 1, 300, 200);
    spawnAsteroid(0, "asteroid2_1.txt");
    EXPECT_EQ(std::tuple(world.asteroids[1].size, rock(1).damage, velocity(rock(1)), at(rock(1))),
              std::tuple(2, 40, XY(20, 20), XY(300, 200)));

    music.musicFrequency = 32049.6; // 10050 after rounding: q = 100
    seedRandom(3);
    const XY expected{rnd() * 100.0 + 20, rnd() * 100.0 + 20}; // drawn in order
    seedRandom(3);
    spawnAsteroid(1, "asteroid3_1.txt");
    EXPECT_EQ(std::tuple(rock(2).damage, velocity(rock(2))), std::tuple(20, expected));
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
        EXPECT_EQ(
            std::tuple(world.asteroids[0].size, rock(1).name, rock(2).name, world.lastAsteroid),
            std::tuple(kFreeSlot, "asteroid2_1", "asteroid2_2", 2));
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
    EXPECT_EQ(colour(p), (RGBA{255, 127.5, 127.5, 170}));
    EXPECT_EQ(std::tuple(p.angle, at(p), world.asteroids[0].cell), std::tuple(1, XY(200, 360), 32));
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
    EXPECT_EQ(std::tuple(velocity(rock(0)), rock(0).x), std::tuple(XY(7, 0), 25));
    placeAsteroid(1, 3, 1039, 783); // outside, moving in: flies in
    setVelocity(rock(1), -5, 5);
    confineAsteroid(1);
    EXPECT_EQ(velocity(rock(1)), XY(-5, -5));
}

using ContactTest = WorldTest;

TEST_F(ContactTest, AnAsteroidInReachHurtsTheFirstHealthyShipBySizeBouncesItAndIsDestroyed) {
    using Case = std::tuple<int, double, float, float, float>;
    for (const auto& [size, x, health, fade, after] :
         {Case{1, 520, 10, 1, -2},          // dying at -1 or below, never exactly 0
          Case{3, 505, 4, 1, -1},           // a hit to exactly 0 kills
          Case{3, 505, -5, 1, -5},          // a dying ship takes no more
          Case{3, 511, 100, 1, 100},        // out of reach: the radius is 10
          Case{3, 505, 100, 0.99f, 100}}) { // the game is over
        putAt(ship().particle, 500, 500);
        setVelocity(ship().particle, 3, -2);
        ship().particle.damage = health;
        globals.globalFade = fade;
        placeAsteroid(0, size, x, 500);
        hitShipsWithAsteroid(0);
        const bool hit = after != health;
        SCOPED_TRACE(::testing::Message() << "size " << size << " at " << x);
        EXPECT_EQ(
            std::tuple(ship().particle.damage, velocity(ship().particle), rock(0).killAt,
                       rock(0).damage),
            std::tuple(after, hit ? XY(-3, 2) : XY(3, -2), hit ? 0 : 1, hit ? 0 : (4 - size) * 20));
    }
    loadShips(2);
    globals.globalFade = 1;
    for (int i : {0, 1}) {
        putAt(ship(i).particle, 500 + i, 500);
        ship(i).particle.damage = 10;
    }
    placeAsteroid(0, 1, 520, 510);
    hitShipsWithAsteroid(0);
    EXPECT_EQ(std::tuple(ship(0).particle.damage, ship(1).particle.damage), std::tuple(-2, 10))
        << "the second ship is spared";
}

TEST_F(ContactTest, AShotTakesItsPowerOffShowsASparkBySizeAndIsSpent) {
    placeAsteroid(0, 3, 450, 450);
    placeAsteroid(1, 2, 452, 450);
    placeShot(0, 30, 451, 450);
    hitAsteroidsWithShot(0);
    EXPECT_EQ(std::tuple(rock(0).damage, rock(0).killAt, live("hit_medium").size(),
                         world.shots[0].particle.killAt, rock(1).damage),
              std::tuple(0, 0, 1u, 0, 40))
        << "not below zero; the spent shot goes on but subtracts nothing";

    placeShot(0, 2, 465, 450); // out of the small one's reach
    hitAsteroidsWithShot(0);
    EXPECT_EQ(std::tuple(rock(1).damage, live("hit_small").size()), std::tuple(38, 1u));

    hitEffects = false;
    placeShot(0, 5, 451, 450);
    hitAsteroidsWithShot(0);
    EXPECT_EQ(std::tuple(world.shots[0].particle.killAt, rock(1).damage), std::tuple(0, 38))
        << "a destroyed asteroid still stops shots";
    EXPECT_EQ(live("hit_medium").size() + live("hit_small").size(), 2u);
}

TEST_F(ContactTest, ShotsOnlyHitAsteroidsInTheirOwnCell) {
    placeAsteroid(0, 1, 101, 150);
    placeShot(0, 5, 99, 150);
    hitAsteroidsWithShot(0);
    EXPECT_EQ(rock(0).damage, 60);
    using Case = std::tuple<double, double, int>;
    for (const auto& [x, y, cell] : {Case{99, 150, 10}, Case{1000, 0, 10}, Case{-99, -99, 0},
                                     Case{450.5, 0, 4}, Case{std::nan(""), 1e300, 10000000 * 10}}) {
        EXPECT_EQ(gridCell(x, y), cell) << x << "," << y;
    }
}

class PickupTest : public WorldTest {
  protected:
    void SetUp() override {
        WorldTest::SetUp();
        putAt(ship().particle, 700, 300);
    }
    using Levels = std::array<int, 3>;
    static Levels levels() {
        return {ship().weapon1Level, ship().weapon2Level, ship().weapon3Level};
    }
};

TEST_F(PickupTest, FlyingOverOneRaisesAWeaponByTheDrawAndOnlyOnePerFrame) {
    spawnPickup(705, 300);
    spawnPickup(695, 300);
    spawnPickup(900, 300);
    seedRandom(5);
    Levels raised{1, 0, 0};
    ++raised[static_cast<std::size_t>(toInteger(2 * rnd()))];
    seedRandom(5);
    updateShip(0);
    EXPECT_EQ(std::tuple(world.lastPickup, emitter.getParticle(world.pickups[1])->x, levels()),
              std::tuple(1, 900, raised));
    ASSERT_EQ(live("pickup_over").size(), 1u);
    EXPECT_EQ(live("pickup_over")[0]->x, 705);
    updateShip(0);
    EXPECT_EQ(world.lastPickup, 0);

    ship().weapon1Level = ship().weapon2Level = 4;
    ship().weapon3Level = 2;
    for (int n = 0; n < 3; ++n) {
        spawnPickup(700, 300);
        collectPickup(0);
    }
    EXPECT_EQ(std::tuple(levels(), world.lastPickup), std::tuple(Levels{4, 4, 4}, 0))
        << "full weapons pass the upgrade on, all full changes nothing; each one is collected";
}

TEST_F(PickupTest, OnePickupExpiresPerBeatOnceItsSlotHoldsSomethingElse) {
    for (double x : {100, 200, 300}) {
        spawnPickup(x, 100);
    }
    emitter.getParticle(world.pickups[0])->name = "spark";
    emitter.getParticle(world.pickups[1])->name = "spark";
    expirePickups();
    EXPECT_EQ(world.lastPickup, 2) << "only on the beat";
    setBeats(false, true, false, false);
    for (int expected : {1, 0, 0}) {
        expirePickups();
        EXPECT_EQ(world.lastPickup, expected);
    }
    EXPECT_EQ(emitter.getParticle(world.pickups[0])->x, 300);
}

} // namespace
} // namespace vastorim::testing
