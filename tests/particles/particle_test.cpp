#include "engine/errors.h"
#include "engine/random.h"
#include "particles/particle.h"

#include <gtest/gtest.h>

using namespace vastorim;

namespace {

const std::string kFresh =
    "P,1:0|255,1:0|255,1:0|255,1:0|255,1:0|0,1:0|0,1:0|0,1:0|0,1:0|0,T,1,0,0,0,0,0,0";
const std::string kFlame =
    "flame,2:0|255:2|255,2:0|rnd(128&255):2|64,1:0|0,2:0|255:2|0,2:0|16:2|4,2:0|16:2|4,"
    "1:0|rnd(-20&20),1:0|rnd(40&80),1:0|seed,flare,6,1,rnd(-3&3),0,1,rnd(-4&4),0";

Particle loaded(const std::string& line) {
    Particle particle;
    particle.initialize();
    particle.loadParticleString(line);
    return particle;
}

// The line with its field at that index (0 is the name) replaced.
std::string withField(const std::string& line, int index, const std::string& value) {
    std::size_t begin = 0;
    for (int i = 0; i < index; ++i) {
        begin = line.find(',', begin) + 1;
    }
    std::size_t end = line.find(',', begin);
    return line.substr(0, begin) + value + (end == std::string::npos ? "" : line.substr(end));
}

TEST(Particle, LinesRoundTripAndAFreshTypeWritesItsDefaults) {
    Particle type;
    type.initialize();
    type.name = "P";
    type.texture = "T";
    EXPECT_EQ(type.getParticleString(), kFresh);
    EXPECT_EQ(type.sprite.texture, "0");
    const std::string smoke = "smoke,1:0|96,1:0|96,1:0|96,3:0|0:0.5|rnd(60&120):3|0,2:0|8:3|"
                              "seed*40,2:0|8:3|seed*40,1:0|0,1:0|-15,1:0|0,puff,2,0,rnd(0.5&1.5),"
                              "0,2,0,0";
    for (const std::string& line : {kFresh, kFlame, smoke}) {
        EXPECT_EQ(loaded(line).getParticleString(), line);
    }
    Particle flame = loaded(kFlame);
    EXPECT_EQ(flame.sprite.texture, "flare");
    EXPECT_EQ(flame.sprite.blendType, 1);
    EXPECT_EQ(flame.spawnCount, 6);
    EXPECT_EQ(loaded(kFresh + ",extra,fields").getParticleString(), kFresh);
    EXPECT_EQ(loaded(withField(kFresh, 15, "2.5")).killAt, 2) << "rounds half to even";
}

TEST(Particle, MalformedLinesNameTheFieldAndChangeNothing) {
    struct Case {
        std::string line;
        std::string field;
    };
    const Case cases[] = {{kFresh.substr(0, kFresh.rfind(',')), "field 17 (y)"},
                          {"only a name", "field 1 (colourR)"},
                          {withField(kFresh, 2, "2:0|255"), "field 2 (colourG)"},
                          {withField(kFresh, 9, "1:0|x"), "field 9 (rotation)"},
                          {withField(kFresh, 11, "one"), "field 11 (spawnCount)"},
                          {withField(kFresh, 12, "99999"), "field 12 (blendType)"},
                          {withField(kFresh, 13, "rnd(1)"), "field 13 (seed)"},
                          {withField(kFresh, 14, "tan(1)"), "field 14 (angle)"},
                          {withField(kFresh, 15, "1e12"), "field 15 (lifetime)"},
                          {withField(kFresh, 17, "y"), "field 17 (y)"}};
    Particle particle = loaded(kFlame);
    for (const Case& c : cases) {
        try {
            particle.loadParticleString(c.line);
            ADD_FAILURE() << c.line << " was accepted";
        } catch (const FieldError& error) {
            EXPECT_EQ(error.field(), c.field) << c.line << ": " << error.what();
        }
        EXPECT_EQ(particle.getParticleString(), kFlame);
    }
}

TEST(Particle, BakingDrawsInTheFixedOrderAndTrimsInPlace) {
    Particle particle = loaded(
        "p,1:0|rnd(0&1),1:0|0,1:0|0,1:0|0,1:0|seed*32,1:0|seed*32,1:0|rnd(0&1),1:0|0,1:0|0,t,1,"
        "0, rnd(0&1) ,rnd(0&1),0, rnd(0&1),rnd(0&1)");
    seedRandom(17);
    double draws[6];
    for (double& d : draws) {
        d = rnd();
    }
    seedRandom(17);
    particle.bakeKeys();
    EXPECT_EQ(particle.seed, draws[0]);
    EXPECT_EQ(particle.colourR.getValue(0), draws[1]);
    EXPECT_EQ(particle.speedX.getValue(0), draws[2]) << "speeds bake before sizes";
    EXPECT_EQ(particle.sizeX.getValue(0), draws[0] * 32);
    EXPECT_EQ(particle.sizeY.getValue(0), particle.sizeX.getValue(0)) << "square, shared seed";
    EXPECT_EQ(static_cast<double>(particle.angle), round15(draws[3]));
    EXPECT_EQ(particle.x, draws[4]);
    EXPECT_EQ(particle.y, draws[5]);
    EXPECT_EQ(particle.seedExpression, "rnd(0&1)");
    EXPECT_EQ(particle.xExpression, "rnd(0&1)");
}

} // namespace
