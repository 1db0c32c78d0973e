#include "engine/error_place.h"
#include "engine/random.h"
#include "particles/effect.h"
#include "particles/particle.h"
#include "particles/track.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace vastorim;

namespace {

Track trackOf(const std::string& text) {
    Track track;
    track.loadTrackString(text);
    return track;
}

Track bakedTrack(const std::string& text, double seed = 0) {
    Track track = trackOf(text);
    track.bakeKeys(seed);
    return track;
}

TEST(Track, InterpolatesBetweenKeysAndExtrapolatesTheEndSegments) {
    struct Case {
        const char* track;
        double age;
        double value;
    };
    for (Case c :
         {Case{"0", 1, 0}, Case{"1:0|255", -3, 255}, Case{"1:0|255", 100, 255},
          Case{"2:0|0:1|10", 0.25, 2.5}, Case{"2:0|0:1|10", 1, 10}, Case{"2:0|0:1|10", 1.5, 15},
          Case{"2:0|0:1|10", -1, -10}, Case{"3:0|0:1|10:2|0", 0.5, 5},
          Case{"3:0|0:1|10:2|0", 1.5, 5}, Case{"3:0|0:1|10:2|0", 2, 0},
          Case{"3:0|0:1|10:2|0", 3, -10}, Case{"3:0|0:1|10:2|0", -0.5, -5}}) {
        EXPECT_EQ(bakedTrack(c.track).getValue(c.age), c.value) << c.track << " at " << c.age;
    }
    EXPECT_EQ(Track().getValue(1), 0);
    // The fraction is held in single precision.
    float fraction = static_cast<float>(1.0 / -3.0);
    EXPECT_EQ(bakedTrack("2:0|0:3|1").getValue(1), -static_cast<double>(fraction));
}

TEST(Track, TrackStringsRoundTripAndMalformedOnesKeepTheOldKeys) {
    for (const char* text : {"0", "1:0|255", "2:0|255:1.5|0"}) {
        EXPECT_EQ(trackOf(text).getTrackString(), text);
    }
    // 2.5 - 1 = 1.5 rounds half to even: three keys; surplus key fields are ignored.
    Track track = trackOf("2.5:0|1:1|2:2|3:3|4");
    EXPECT_EQ(track.getKeys(), 3);
    EXPECT_EQ(track.getTrackString(), "3:0|1:1|2:2|3");
    for (const char* bad : {"3:0|1:1|2", "x:0|1", "2:0|1:1", "1:zero|1", "1:0|1)", "99999:0|1"}) {
        EXPECT_THROW(track.loadTrackString(bad), FieldError) << bad;
    }
    EXPECT_EQ(track.getTrackString(), "3:0|1:1|2:2|3");
}

TEST(Track, BakingDrawsKeyByKeyAndCopiesAreIndependent) {
    Track type = trackOf("2:0|rnd(0&1):1|rnd(10&11)");
    seedRandom(3);
    double first = rnd();
    double second = rnd();
    seedRandom(3);
    Track live = trackOf("3:0|5:1|6:2|7");
    live.copyKeysFrom(type);
    live.bakeKeys(0);
    EXPECT_EQ(live.getValue(0), first);
    EXPECT_EQ(live.getValue(1), 10 + second);
    live.setKeyVal(0, 50);
    EXPECT_EQ(live.getTrackString(), type.getTrackString());
    type.bakeKeys(0);
    EXPECT_NE(type.getValue(0), 50);
}

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

TEST(Particle, ALineFillsTheTypeIgnoringSurplusFieldsAndAFreshTypeWritesItsDefaults) {
    Particle type;
    type.initialize();
    type.name = "P";
    type.texture = "T";
    EXPECT_EQ(type.getParticleString(), kFresh);
    EXPECT_EQ(type.sprite.texture, "0");
    const Particle flame = loaded(kFlame);
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

// The file's types as their lines, and nothing past them.
void expectTypes(const Effect& effect, const std::vector<std::string>& lines) {
    const auto count = static_cast<std::int16_t>(lines.size());
    ASSERT_EQ(effect.getParticles(), count);
    for (std::int16_t i = 0; i < count; ++i) {
        EXPECT_EQ(effect.getParticle(i)->getParticleString(), lines[i]);
    }
    EXPECT_EQ(effect.getParticle(count), nullptr);
}

TEST(Effect, LoadsTypesUpToEndSavesTheSameLinesAndWarnsWithoutEnd) {
    test::TempFolder folder;
    Effect effect;
    effect.loadEffect(folder.write("fx.txt", kFresh + "\r\n" + kFlame + "\r\nEND\r\nnot, read\n"));
    expectTypes(effect, {kFresh, kFlame});
    EXPECT_TRUE(effect.warning().empty());
    ASSERT_TRUE(effect.saveEffect(folder.file("out.txt")));
    EXPECT_EQ(test::readFile(folder.file("out.txt")), kFresh + "\r\n" + kFlame + "\r\nEND\r\n");

    effect.loadEffect(folder.write("empty.txt", "END\n"));
    expectTypes(effect, {});
    EXPECT_FALSE(effect.saveEffect(folder.file("never.txt")));
    EXPECT_FALSE(std::filesystem::exists(folder.file("never.txt")));

    effect.loadEffect(folder.write("open.txt", kFresh + "\n"));
    expectTypes(effect, {kFresh});
    EXPECT_NE(effect.warning().find("open.txt"), std::string::npos) << effect.warning();
    EXPECT_NE(effect.warning().find("END"), std::string::npos);
}

TEST(Effect, MalformedFilesAreErrorsWithFileLineAndFieldAndKeepTheOldList) {
    test::TempFolder folder;
    Effect effect;
    effect.loadEffect(folder.write("good.txt", kFresh + "\nEND\n"));
    const std::string bad =
        folder.write("bad.txt", kFresh + "\n" + withField(kFlame, 7, "1:0|rnd(-5)") + "\nEND\n");
    const std::string lower = folder.write("lower.txt", "end\nEND\n");
    const std::string missing = folder.file("missing.txt");
    for (const test::ErrorPlace& place :
         {test::ErrorPlace{bad, 2, "field 7 (speedX)"},
          test::ErrorPlace{lower, 1, "field 1 (colourR)"}, test::ErrorPlace{missing, 0, ""}}) {
        EXPECT_EQ(test::errorOf([&] { effect.loadEffect(place.file); }), place);
    }
    expectTypes(effect, {kFresh});
}

} // namespace
