#include "world_fixture.h"

#include "engine/mod_dx8_sound.h"
#include "engine/mod_vbp_start.h"
#include "engine/numbers.h"
#include "game/mod_game_update.h"
#include "particles/clsEmitter.h"

#include <cmath>
#include <numbers>

namespace vastorim::testing {
namespace {

class ShipTest : public WorldTest {
  protected:
    void SetUp() override {
        WorldTest::SetUp();
        loadOneShip();
        setBeats(false, false, false, false);
        body().dblX = 500;
        body().dblY = 400;
        body().dblAngle = 0;
    }
    clsParticle& body() { return ship().particle; }
    double vx() { return body().speedx.getValue(0); }
    double vy() { return body().speedy.getValue(0); }
};

TEST_F(ShipTest, ThrustBuildsUpToTheAxisLimitAndKeepsItWithoutDrag) {
    globals.frameTime = 0;
    ship().upHeld = true;
    for (int frame = 1; frame <= 19; ++frame) {
        updateShip(0);
        EXPECT_DOUBLE_EQ(vx(), 0.5 * frame);
    }
    updateShip(0);
    EXPECT_EQ(vx(), 10);
    updateShip(0);
    EXPECT_EQ(vx(), 10);
    ship().upHeld = false;
    globals.frameTime = 0.5f;
    updateShip(0);
    EXPECT_EQ(vx(), 10);
    EXPECT_DOUBLE_EQ(body().dblX, 500 + 0.5 * 10 * 20);
}

TEST_F(ShipTest, ASpeedAboveTheLimitLastsUntilTheFirstThrust) {
    body().speedx.setKeyVal(0, 14);
    globals.frameTime = 0;
    updateShip(0);
    EXPECT_EQ(vx(), 14);
    ship().upHeld = true;
    updateShip(0);
    EXPECT_EQ(vx(), 10);
}

TEST_F(ShipTest, ThrustFollowsTheHeadingAndMovesTwentyPixelsPerUnit) {
    body().dblAngle = std::numbers::pi / 2;
    ship().upHeld = true;
    globals.frameTime = 0.1f;
    updateShip(0);
    EXPECT_NEAR(vx(), 0, 1e-12);
    EXPECT_DOUBLE_EQ(vy(), 0.5);
    EXPECT_NEAR(body().dblY, 400 + 0.1 * 0.5 * 20, 1e-6);
}

TEST_F(ShipTest, TurningLeftAndRightCancelOut) {
    globals.frameTime = 0.25f;
    ship().leftHeld = true;
    updateShip(0);
    EXPECT_DOUBLE_EQ(body().dblAngle, -1.0);
    ship().rightHeld = true;
    updateShip(0);
    EXPECT_DOUBLE_EQ(body().dblAngle, -1.0);
    ship().leftHeld = false;
    updateShip(0);
    EXPECT_DOUBLE_EQ(body().dblAngle, 0.0);
}

TEST_F(ShipTest, WallsStopTheShipAndBounceItAtHalfSpeed) {
    globals.frameTime = 0;
    body().dblX = 1030;
    body().speedx.setKeyVal(0, 8);
    body().dblY = -3;
    body().speedy.setKeyVal(0, -6);
    updateShip(0);
    EXPECT_EQ(body().dblX, 1024);
    EXPECT_EQ(vx(), -4);
    EXPECT_EQ(body().dblY, 0);
    EXPECT_EQ(vy(), 3);

    body().dblX = -1;
    body().dblY = 800;
    confineShip(0);
    EXPECT_EQ(body().dblX, 0);
    EXPECT_EQ(vx(), 2);
    EXPECT_EQ(body().dblY, 768);
    EXPECT_EQ(vy(), -1.5);
}

TEST_F(ShipTest, HealthShowsAsAGreenToRedTint) {
    body().damage = 37.5f; // rounds half to even: 38
    updateShip(0);
    EXPECT_EQ(body().colourR.getValue(0), 160);
    EXPECT_EQ(body().colourG.getValue(0), 100);
    body().damage = 100;
    updateShip(0);
    EXPECT_EQ(body().colourR.getValue(0), 5);
    EXPECT_EQ(body().colourG.getValue(0), 255);
    body().damage = -3;
    updateShip(0);
    EXPECT_EQ(body().colourR.getValue(0), 255);
    EXPECT_EQ(body().colourG.getValue(0), 5);
}

TEST_F(ShipTest, ADyingShipFliesOnUntilTheFourBeatThenExplodesAndIsParked) {
    body().damage = -1;
    body().speedx.setKeyVal(0, 5);
    globals.frameTime = 0.125f;
    setBeats(true, true, true, false);
    updateShip(0);
    EXPECT_DOUBLE_EQ(body().dblX, 512.5);
    EXPECT_EQ(liveCount("explode_ship"), 0);

    setBeats(false, false, false, true);
    updateShip(0);
    EXPECT_EQ(body().damage, 0);
    EXPECT_EQ(body().dblX, -1000);
    ASSERT_EQ(liveCount("explode_ship"), 1);
    EXPECT_DOUBLE_EQ(firstLive("explode_ship")->dblX, 512.5);

    body().dblX = 300;
    updateShip(0);
    EXPECT_EQ(body().dblX, -1000);
    EXPECT_EQ(liveCount("explode_ship"), 1);
}

TEST_F(ShipTest, ExhaustPuffsBackwardsOnlyWhileThrusting) {
    globals.frameTime = 0.05f;
    updateShip(0);
    EXPECT_EQ(liveCount("engine1"), 0);
    EXPECT_EQ(ship().engineTimer, 0);

    ship().upHeld = true;
    globals.frameTime = 2; // a long frame still gives one puff
    body().dblAngle = 1;
    updateShip(0);
    EXPECT_EQ(liveCount("engine1"), 1);
    EXPECT_EQ(ship().engineTimer, 0);
    EXPECT_EQ(emitter.getEffect("engine1.txt")->getParticle(0)->seed,
              numberToText(1 + std::numbers::pi));

    globals.frameTime = 0.015f; // 0.015 then 0.03: the second frame puffs
    updateShip(0);
    EXPECT_EQ(liveCount("engine1"), 1);
    updateShip(0);
    EXPECT_EQ(liveCount("engine1"), 2);
}

} // namespace
} // namespace vastorim::testing
