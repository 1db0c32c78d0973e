#include "world_fixture.h"

#include "engine/music_clock.h"
#include "engine/startup.h"
#include "game/world.h"
#include "game/world_loading.h"

namespace vastorim::testing {
namespace {

class WeaponTest : public WorldTest {
  protected:
    void SetUp() override {
        WorldTest::SetUp();
        ship().particle.x = 300;
        ship().particle.y = 200;
        ship().particle.angle = 0.75;
        ship().fireHeld = true;
    }
    static void setLevels(int w1, int w2, int w3) {
        ship().weapon1Level = static_cast<std::int16_t>(w1);
        ship().weapon2Level = static_cast<std::int16_t>(w2);
        ship().weapon3Level = static_cast<std::int16_t>(w3);
    }
    // Fires on the beat flag weapon 1 uses, then lets the shots fly.
    static void fireOnTheBeat() {
        setBeats(false, true, false, false);
        fireWeapons();
        setBeats(false, false, false, false);
    }
};

TEST_F(WeaponTest, EachWeaponFiresOnItsOwnFlagWithThePowerOfItsLevel) {
    struct Case {
        int weapon, level;
        float power;
    };
    for (Case c : {Case{1, 1, 5}, Case{1, 2, 5}, Case{1, 4, 10}, Case{2, 1, 2}, Case{2, 3, 2},
                   Case{2, 4, 5}, Case{3, 2, 20}, Case{3, 3, 30}}) {
        std::string name = "weapon" + std::to_string(c.weapon) + "_" + std::to_string(c.level);
        clearProjectiles();
        setLevels(c.weapon == 1 ? c.level : 0, c.weapon == 2 ? c.level : 0,
                  c.weapon == 3 ? c.level : 0);
        setBeats(c.weapon != 2, c.weapon != 1, c.weapon != 3, true);
        fireWeapons();
        EXPECT_EQ(world.lastShot, -1) << name << " fired off its flag";
        setBeats(c.weapon == 2, c.weapon == 1, c.weapon == 3, false);
        fireWeapons();
        ASSERT_EQ(world.lastShot, 0) << name;
        EXPECT_EQ(world.shots[0].particle.name, name);
        EXPECT_EQ(world.shots[0].particle.damage, c.power) << name;
    }
    clearProjectiles();
    ship().fireHeld = false;
    setBeats(true, true, true, true);
    fireWeapons();
    EXPECT_EQ(world.lastShot, -1) << "nothing without the fire key";
}

TEST_F(WeaponTest, OneShotPerParticleTypeAimedAlongTheHeadingFromTheShip) {
    setLevels(3, 0, 0);
    fireOnTheBeat();
    ASSERT_EQ(world.lastShot, 2);
    EXPECT_EQ(world.shots[2].particle.damage, 10);
    clearProjectiles();
    setLevels(1, 0, 0);
    fireOnTheBeat();
    const Particle& shot = world.shots[0].particle;
    EXPECT_EQ(world.shots[0].owner, 0);
    EXPECT_EQ(speedX(shot), 0.75) << "the heading is the seed";
    EXPECT_EQ(at(shot), XY(305, 200)) << "the file's offset, relative to the ship";
}

TEST_F(WeaponTest, ShotsFlyByTheirTracksAndAreFreedWhenSpentOrHit) {
    fireOnTheBeat();
    globals.frameTime = 0.5f;
    fireWeapons();
    EXPECT_EQ(world.shots[0].particle.y, 250);
    for (int frame = 0; frame < 5; ++frame) {
        fireWeapons();
    }
    EXPECT_EQ(world.lastShot, -1) << "freed after its two seconds";

    globals.frameTime = 0;
    fireOnTheBeat();
    placeAsteroid(0, 1, 305, 200);
    globals.frameTime = 0.5f;
    fireWeapons();
    EXPECT_EQ(world.shots[0].particle.y, 200) << "not moved in the frame of the hit";
    EXPECT_EQ(rock(0).damage, 55);
    EXPECT_EQ(world.lastShot, 0);
    fireWeapons();
    EXPECT_EQ(world.lastShot, -1);
}

} // namespace
} // namespace vastorim::testing
