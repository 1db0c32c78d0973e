#include "world_fixture.h"

#include "engine/mod_dx8_sound.h"
#include "engine/mod_vbp_start.h"
#include "engine/numbers.h"
#include "game/mod_game_load.h"
#include "game/mod_game_update.h"
#include "particles/clsEmitter.h"

namespace vastorim::testing {
namespace {

class WeaponTest : public WorldTest {
  protected:
    void SetUp() override {
        WorldTest::SetUp();
        loadOneShip();
        setBeats(false, false, false, false);
        globals.frameTime = 0;
        ship().particle.dblX = 300;
        ship().particle.dblY = 200;
        ship().particle.dblAngle = 0.75;
        ship().fireHeld = true;
    }
    static int flyingShots() {
        int count = 0;
        for (int j = 0; j <= world.lastShot; ++j) {
            count += world.shots[j].owner != kFreeSlot ? 1 : 0;
        }
        return count;
    }
};

TEST_F(WeaponTest, TheStartingWeaponFiresOncePerBeatWithPowerFive) {
    setBeats(true, false, true, true);
    fireWeapons();
    EXPECT_EQ(flyingShots(), 0);
    setBeats(false, true, false, false);
    fireWeapons();
    ASSERT_EQ(flyingShots(), 1);
    EXPECT_EQ(world.shots[0].owner, 0);
    EXPECT_EQ(world.shots[0].particle.damage, 5);
    EXPECT_EQ(world.shots[0].particle.sName, "weapon1_1");
    EXPECT_TRUE(world.shots[0].trailEffect.empty());
}

TEST_F(WeaponTest, NothingFiresWithoutTheFireKey) {
    ship().fireHeld = false;
    setBeats(true, true, true, true);
    fireWeapons();
    EXPECT_EQ(world.lastShot, -1);
}

TEST_F(WeaponTest, PowerDependsOnWeaponAndLevel) {
    struct Case {
        int weapon;
        int level;
        float power;
    };
    const Case cases[] = {{1, 1, 5}, {1, 2, 5},  {1, 4, 10}, {2, 1, 2},  {2, 2, 2}, {2, 3, 2},
                          {2, 4, 5}, {3, 1, 20}, {3, 2, 20}, {3, 3, 30}, {3, 4, 30}};
    for (const Case& c : cases) {
        clearProjectiles();
        ship().weapon1Level = static_cast<std::int16_t>(c.weapon == 1 ? c.level : 0);
        ship().weapon2Level = static_cast<std::int16_t>(c.weapon == 2 ? c.level : 0);
        ship().weapon3Level = static_cast<std::int16_t>(c.weapon == 3 ? c.level : 0);
        setBeats(c.weapon == 2, c.weapon == 1, c.weapon == 3, false);
        fireWeapons();
        ASSERT_EQ(world.lastShot, 0) << c.weapon << "_" << c.level;
        std::string name = "weapon" + std::to_string(c.weapon) + "_" + std::to_string(c.level);
        EXPECT_EQ(world.shots[0].particle.sName, name);
        EXPECT_EQ(world.shots[0].particle.damage, c.power) << name;
    }
}

TEST_F(WeaponTest, OneProjectilePerParticleTypeAllWithTheSamePower) {
    ship().weapon1Level = 3;
    setBeats(false, true, false, false);
    fireWeapons();
    ASSERT_EQ(flyingShots(), 3);
    for (int j = 0; j < 3; ++j) {
        EXPECT_EQ(world.shots[j].particle.damage, 10);
        EXPECT_EQ(world.shots[j].particle.sName, "weapon1_3");
    }
}

TEST_F(WeaponTest, OnlyWeaponThreeLeavesATrail) {
    ship().weapon1Level = 0;
    ship().weapon2Level = 4;
    ship().weapon3Level = 4;
    setBeats(true, false, true, false);
    fireWeapons();
    ASSERT_EQ(world.lastShot, 1);
    EXPECT_EQ(world.shots[0].particle.sName, "weapon2_4");
    EXPECT_TRUE(world.shots[0].trailEffect.empty());
    EXPECT_EQ(world.shots[1].trailEffect, "weapon3_4_trail.txt");

    setBeats(false, false, false, false);
    globals.frameTime = 0.03f;
    fireWeapons();
    EXPECT_EQ(liveCount("weapon3_4_trail"), 0);
    fireWeapons();
    EXPECT_EQ(liveCount("weapon3_4_trail"), 1);
    EXPECT_EQ(world.shots[1].trailTimer, 0);
    EXPECT_EQ(emitter.getEffect("weapon3_4_trail.txt")->getParticle(0)->seed,
              world.shots[1].particle.dblAngle.text());
}

TEST_F(WeaponTest, ShotsAimAlongTheHeadingAndStartAtTheShipPlusTheirOffset) {
    setBeats(false, true, false, false);
    fireWeapons();
    const clsParticle& shot = world.shots[0].particle;
    EXPECT_EQ(shot.seed, "0.75");
    EXPECT_EQ(shot.speedx.getValue(0), 0.75);
    // Fired and moved in the same frame, by a frame time of 0.
    EXPECT_EQ(shot.dblX, 305);
    EXPECT_EQ(shot.dblY, 200);
}

TEST_F(WeaponTest, ProjectilesFlyByTheirTracksAndAreFreedAtTheEndOfTheirLife) {
    setBeats(false, true, false, false);
    fireWeapons();
    setBeats(false, false, false, false);
    globals.frameTime = 0.5f;
    fireWeapons();
    EXPECT_EQ(world.shots[0].particle.dblY, 250);
    for (int frame = 0; frame < 5 && world.lastShot == 0; ++frame) {
        fireWeapons();
    }
    EXPECT_EQ(world.lastShot, -1);
    EXPECT_EQ(world.shots[0].owner, kFreeSlot);
}

TEST_F(WeaponTest, AHitShotIsNotMovedAndIsFreedTheNextFrame) {
    setBeats(false, true, false, false);
    fireWeapons();
    setBeats(false, false, false, false);
    placeAsteroid(0, 1, 305, 200);
    globals.frameTime = 0.5f;
    fireWeapons();
    EXPECT_EQ(world.shots[0].particle.dblY, 200);
    EXPECT_EQ(world.shots[0].owner, 0);
    EXPECT_EQ(world.asteroids[0].particle.damage, 55);
    fireWeapons();
    EXPECT_EQ(world.shots[0].owner, kFreeSlot);
    EXPECT_EQ(world.lastShot, -1);
}

TEST_F(WeaponTest, ADestroyedShipFiresFromItsParkingPlace) {
    ship().particle.damage = 0;
    ship().particle.dblX = -1000;
    setBeats(false, true, false, false);
    fireWeapons();
    EXPECT_EQ(flyingShots(), 1);
}

} // namespace
} // namespace vastorim::testing
