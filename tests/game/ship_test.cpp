// The ships: flight, walls, health and death, and their weapons and shots.
#include "world_fixture.h"

namespace vastorim::testing {
namespace {

class ShipTest : public WorldTest {
  protected:
    void SetUp() override {
        WorldTest::SetUp();
        putAt(body(), 500, 400);
        body().angle = 0;
    }
    static Particle& body() { return ship().particle; }
};

TEST_F(ShipTest, ThrustAddsHalfAUnitPerFrameUpToTenAndThereIsNoDrag) {
    setVelocity(body(), 14, 0);
    updateShip(0);
    EXPECT_EQ(speedX(body()), 14) << "too fast from its file: kept until the first thrust";
    setVelocity(body(), 0, 0);
    ship().upHeld = true;
    for (int frame = 1; frame <= 21; ++frame) {
        updateShip(0);
        EXPECT_DOUBLE_EQ(speedX(body()), std::min(0.5 * frame, 10.0));
    }
    ship().upHeld = false;
    globals.frameTime = 0.5f;
    ship().leftHeld = ship().rightHeld = true;
    updateShip(0);
    EXPECT_EQ(std::tuple(speedX(body()), body().x, body().angle), std::tuple(10, 600, 0))
        << "both turn keys cancel";
    ship().rightHeld = false;
    updateShip(0);
    EXPECT_EQ(body().angle, -2);
}

TEST_F(ShipTest, WallsStopTheShipAndBounceItAtHalfSpeed) {
    putAt(body(), 1030, -3);
    setVelocity(body(), 8, -6);
    updateShip(0);
    EXPECT_EQ(std::pair(at(body()), velocity(body())), std::pair(XY(1024, 0), XY(-4, 3)));
    putAt(body(), -1, 800);
    confineShip(0);
    EXPECT_EQ(std::pair(at(body()), velocity(body())), std::pair(XY(0, 768), XY(2, -1.5)));
}

TEST_F(ShipTest, HealthShowsAsAGreenToRedTint) {
    using Case = std::tuple<float, double, double>;
    for (const auto& [damage, red, green] :
         {Case{37.5f, 160, 100}, Case{100, 5, 255}, Case{-3, 255, 5}}) {
        body().damage = damage;
        updateShip(0);
        EXPECT_EQ(colour(body()), (RGBA{red, green, 0, 200})) << damage;
    }
}

TEST_F(ShipTest, ADyingShipFliesOnUntilTheFourBeatThenExplodesAndStaysParked) {
    body().damage = -1;
    setVelocity(body(), 5, 0);
    globals.frameTime = 0.125f;
    setBeats(true, true, true, false);
    updateShip(0);
    EXPECT_EQ(body().x, 512.5);
    EXPECT_TRUE(live("explode_ship").empty());

    setBeats(false, false, false, true);
    updateShip(0);
    EXPECT_EQ(std::tuple(body().damage, body().x), std::tuple(0, -1000));
    ASSERT_EQ(live("explode_ship").size(), 1u);
    EXPECT_EQ(live("explode_ship")[0]->x, 512.5);
    body().x = 300;
    updateShip(0);
    EXPECT_EQ(std::tuple(body().x, live("explode_ship").size()), std::tuple(-1000, 1u));
}

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
    using Case = std::tuple<int, int, float, int>;
    std::int16_t Ship::*const levels[] = {&Ship::weapon1Level, &Ship::weapon2Level,
                                          &Ship::weapon3Level};
    for (const auto& [weapon, level, power, shots] :
         {Case{1, 1, 5, 1}, Case{1, 2, 5, 1}, Case{1, 3, 10, 3}, Case{1, 4, 10, 1},
          Case{2, 1, 2, 1}, Case{2, 3, 2, 1}, Case{2, 4, 5, 1}, Case{3, 2, 20, 1},
          Case{3, 3, 30, 1}}) {
        std::string name = "weapon" + std::to_string(weapon) + "_" + std::to_string(level);
        SCOPED_TRACE(name);
        clearProjectiles();
        ship().weapon1Level = ship().weapon2Level = ship().weapon3Level = 0;
        ship().*levels[weapon - 1] = static_cast<std::int16_t>(level);
        setBeats(weapon != 2, weapon != 1, weapon != 3, true);
        fireWeapons();
        EXPECT_EQ(world.lastShot, -1) << "fired off its flag";
        setBeats(weapon == 2, weapon == 1, weapon == 3, false);
        fireWeapons();
        ASSERT_EQ(world.lastShot, shots - 1);
        for (int j = 0; j < shots; ++j) {
            const Shot& shot = world.shots[j];
            EXPECT_EQ(std::tuple(shot.particle.name, shot.particle.damage, shot.owner),
                      std::tuple(name, power, 0));
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
    EXPECT_EQ(std::tuple(world.shots[0].particle.y, rock(0).damage, world.lastShot),
              std::tuple(200, 55, 0))
        << "not moved in the frame of the hit";
    fireWeapons();
    EXPECT_EQ(world.lastShot, -1);
}

} // namespace
} // namespace vastorim::testing
