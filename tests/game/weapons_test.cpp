#include "world_fixture.h"

namespace vastorim::testing {
namespace {

class WeaponTest : public WorldTest {
  protected:
    void SetUp() override {
        WorldTest::SetUp();
        putAt(ship().particle, 300, 200);
        ship().particle.angle = 0.75;
        ship().fireHeld = true;
    }
    // Fires on the beat flag weapon 1 uses, then lets the shots fly.
    static void fireOnTheBeat() {
        setBeats(false, true, false, false);
        fireWeapons();
        setBeats(false, false, false, false);
    }
};

// Every weapon file fires one shot per particle type from the ship, its first type aimed along the
// heading; weapon1_3 has three types.
TEST_F(WeaponTest, EachWeaponFiresOnItsOwnFlagOneShotPerTypeWithThePowerOfItsLevel) {
    struct Case {
        int weapon, level;
        float power;
        int shots;
    };
    std::int16_t Ship::*const levels[] = {&Ship::weapon1Level, &Ship::weapon2Level,
                                          &Ship::weapon3Level};
    for (Case c : {Case{1, 1, 5, 1}, Case{1, 2, 5, 1}, Case{1, 3, 10, 3}, Case{1, 4, 10, 1},
                   Case{2, 1, 2, 1}, Case{2, 3, 2, 1}, Case{2, 4, 5, 1}, Case{3, 2, 20, 1},
                   Case{3, 3, 30, 1}}) {
        std::string name = "weapon" + std::to_string(c.weapon) + "_" + std::to_string(c.level);
        SCOPED_TRACE(name);
        clearProjectiles();
        ship().weapon1Level = ship().weapon2Level = ship().weapon3Level = 0;
        ship().*levels[c.weapon - 1] = static_cast<std::int16_t>(c.level);
        setBeats(c.weapon != 2, c.weapon != 1, c.weapon != 3, true);
        fireWeapons();
        EXPECT_EQ(world.lastShot, -1) << "fired off its flag";
        setBeats(c.weapon == 2, c.weapon == 1, c.weapon == 3, false);
        fireWeapons();
        ASSERT_EQ(world.lastShot, c.shots - 1);
        for (int j = 0; j < c.shots; ++j) {
            EXPECT_EQ(world.shots[j].particle.name, name);
            EXPECT_EQ(world.shots[j].particle.damage, c.power);
            EXPECT_EQ(world.shots[j].owner, 0);
        }
        EXPECT_EQ(speedX(world.shots[0].particle), 0.75) << "the heading is the seed";
        EXPECT_EQ(at(world.shots[0].particle), XY(305, 200)) << "the file's offset, from the ship";
    }
    clearProjectiles();
    ship().fireHeld = false;
    setBeats(true, true, true, true);
    fireWeapons();
    EXPECT_EQ(world.lastShot, -1) << "nothing without the fire key";
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
