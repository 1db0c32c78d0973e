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
    EXPECT_EQ(speedX(body()), 10);
    EXPECT_EQ(body().x, 500 + 0.5 * 10 * 20);
    EXPECT_EQ(body().angle, 0) << "both turn keys cancel";
    ship().rightHeld = false;
    updateShip(0);
    EXPECT_EQ(body().angle, -2);
}

TEST_F(ShipTest, WallsStopTheShipAndBounceItAtHalfSpeed) {
    putAt(body(), 1030, -3);
    setVelocity(body(), 8, -6);
    updateShip(0);
    EXPECT_EQ(at(body()), XY(1024, 0));
    EXPECT_EQ(velocity(body()), XY(-4, 3));
    putAt(body(), -1, 800);
    confineShip(0);
    EXPECT_EQ(at(body()), XY(0, 768));
    EXPECT_EQ(velocity(body()), XY(2, -1.5));
}

TEST_F(ShipTest, HealthShowsAsAGreenToRedTint) {
    struct Case {
        float damage;
        double red, green;
    };
    for (Case c : {Case{37.5f, 160, 100}, Case{100, 5, 255}, Case{-3, 255, 5}}) {
        body().damage = c.damage;
        updateShip(0);
        EXPECT_EQ(body().colourR.getValue(0), c.red) << c.damage;
        EXPECT_EQ(body().colourG.getValue(0), c.green) << c.damage;
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
    EXPECT_EQ(body().damage, 0);
    EXPECT_EQ(body().x, -1000);
    ASSERT_EQ(live("explode_ship").size(), 1u);
    EXPECT_EQ(live("explode_ship")[0]->x, 512.5);
    body().x = 300;
    updateShip(0);
    EXPECT_EQ(body().x, -1000);
    EXPECT_EQ(live("explode_ship").size(), 1u);
}

} // namespace
} // namespace vastorim::testing
