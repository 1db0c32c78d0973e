// The shipped effects as the particle engine bakes them, shaped by what the game does with them.
#include "content_lists.h"
#include "engine/random.h"
#include "particles/emitter.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vastorim::testing {
namespace {

std::string weapon(int number, int level) {
    return "weapon" + std::to_string(number) + "_" + std::to_string(level) + ".txt";
}

class ShippedEffects : public ::testing::Test {
  protected:
    void SetUp() override {
        seedRandom(20240611);
        for (const auto& name : listedEffects()) {
            ASSERT_NO_THROW(emitter.addEffect(programDir + "/effects/" + name)) << name;
        }
    }
    const Effect& effect(const std::string& name) {
        const Effect* found = emitter.getEffect(name);
        EXPECT_EQ(found->name, name) << "unknown names fall back to the first effect";
        return *found;
    }
    // A live copy of type i, baked with the seed text the game would give it (empty: the file's).
    Particle baked(const std::string& name, int i, const std::string& seed = "") {
        Particle particle;
        particle.spawnFrom(*effect(name).getParticle(static_cast<std::int16_t>(i)));
        if (!seed.empty()) {
            particle.seedExpression = seed;
        }
        particle.bakeKeys();
        return particle;
    }
    Emitter emitter;
};

TEST_F(ShippedEffects, StayDrawableOverEveryParticlesLife) {
    for (const auto& name : listedEffects()) {
        const bool steered = name.rfind("weapon", 0) == 0 || name == "engine1.txt";
        ASSERT_GT(effect(name).getParticles(), 0) << name;
        for (int i = 0; i < effect(name).getParticles(); ++i) {
            for (int draw = 0; draw < 8; ++draw) {
                const auto p = baked(name, i, steered ? "2.1" : "");
                const std::string where = name + " type " + std::to_string(i);
                ASSERT_GE(p.killAt, 1) << where;
                // The last frame of a particle samples just past its lifetime.
                for (double age = 0; age <= p.killAt + 0.05; age += 0.05) {
                    for (const auto* colour : {&p.colourR, &p.colourG, &p.colourB, &p.colourA}) {
                        const double v = colour->getValue(age);
                        EXPECT_TRUE(v >= -0.5 && v <= 255.5) << where << " age " << age;
                    }
                    for (const auto* size : {&p.sizeX, &p.sizeY}) {
                        const double v = size->getValue(age);
                        EXPECT_TRUE(v >= 0 && v < 2000) << where << " age " << age;
                    }
                    for (const auto* motion : {&p.speedX, &p.speedY, &p.rotation}) {
                        EXPECT_TRUE(std::isfinite(motion->getValue(age))) << where;
                    }
                }
            }
        }
    }
}

TEST_F(ShippedEffects, ProjectilesAndExhaustFollowTheHeadingInTheirSeed) {
    for (const double heading : {0.0, 1.2, 3.0, 4.4, -2.0}) {
        const double hx = std::cos(heading), hy = std::sin(heading);
        for (int number = 1; number <= 3; ++number) {
            for (int level = 1; level <= 4; ++level) {
                const std::string name = weapon(number, level);
                for (int i = 0; i < effect(name).getParticles(); ++i) {
                    const auto shot = baked(name, i, std::to_string(heading));
                    const double vx = shot.speedX.getValue(0), vy = shot.speedY.getValue(0);
                    const double speed = std::hypot(vx, vy);
                    EXPECT_GT(speed, 200) << name;
                    EXPECT_GT((vx * hx + vy * hy) / speed, 0.85) << name << " at " << heading;
                    EXPECT_NEAR(std::remainder(shot.angle - std::atan2(vy, vx), 2 * M_PI), 0, 0.01)
                        << name << ": the picture faces where the shot flies";
                    EXPECT_LT(std::hypot(shot.x, shot.y), 20) << name;
                }
            }
        }
        // The game hands the exhaust the heading plus pi: the flame must leave that way.
        for (int i = 0; i < effect("engine1.txt").getParticles(); ++i) {
            const auto puff = baked("engine1.txt", i, std::to_string(heading + M_PI));
            EXPECT_LT(puff.speedX.getValue(0) * hx + puff.speedY.getValue(0) * hy, 0) << heading;
            EXPECT_LT(puff.x * hx + puff.y * hy, 0) << "puffs start behind the ship";
        }
    }
}

} // namespace
} // namespace vastorim::testing
