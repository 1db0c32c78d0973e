// The effect files: expressions, tracks, particle types and whole effects.
#include "engine/errors.h"
#include "engine/numbers.h"
#include "engine/random.h"
#include "particles/effect.h"
#include "particles/expression.h"
#include "particles/particle.h"
#include "particles/track.h"
#include "support/test_support.h"

#include <gtest/gtest.h>
#include <pthread.h>

#include <bit>
#include <cmath>
#include <filesystem>
#include <optional>
#include <random>
#include <tuple>

using namespace vastorim;

namespace {

constexpr double kPi = 3.14159265358979;

double eval(std::string text, double seed = 0) {
    return evaluateExpression(text, seed);
}

// Both evaluators from the same generator state must agree bit for bit, draw the same number of
// values and fail on the same texts. Gives whether the text was valid.
bool compiledMatchesText(const std::string& text, double seed, std::uint64_t rngSeed) {
    const auto run = [&](auto evaluate) -> std::optional<double> {
        seedRandom(rngSeed);
        try {
            return evaluate();
        } catch (const FieldError&) {
            return std::nullopt;
        }
    };
    const auto interpreted = run([&] { return interpretExpression(text, seed); });
    const float nextAfterText = rnd();
    const auto compiled = run([&] { return compileExpression(text).evaluate(seed); });
    EXPECT_EQ(interpreted.has_value(), compiled.has_value()) << text;
    if (!interpreted || !compiled) {
        return false;
    }
    EXPECT_EQ(nextAfterText, rnd()) << "different draws for " << text;
    EXPECT_TRUE(std::isnan(*interpreted) ? std::isnan(*compiled)
                                         : std::bit_cast<std::uint64_t>(*interpreted) ==
                                               std::bit_cast<std::uint64_t>(*compiled))
        << text << ": " << *interpreted << " vs " << *compiled;
    return true;
}

// Mostly valid texts, with spacing, case, exponents and a few malformed atoms mixed in.
std::string randomExpression(std::mt19937& g, int depth) {
    static const char* atoms[] = {"1",     "2.5", "0",   "seed", "pi",  "PI",  "Seed", "",    "10",
                                  "0.001", "1e2", "1E5", "3",    " 7 ", "255", "128",  "abc", "2)"};
    static const char* ops[] = {"+", "-", "*", "/", " + ", " - ", " * "};
    auto term = [&] {
        int choice = static_cast<int>(g() % (depth > 0 ? 9 : 6));
        if (choice < 6) {
            return std::string(atoms[g() % std::size(atoms)]);
        }
        std::string inner = randomExpression(g, depth - 1);
        if (choice == 6) {
            return "rnd(" + randomExpression(g, depth - 1) + "&" + inner + ")";
        }
        return (choice == 7 ? "sin(" : "COS(") + inner + ")";
    };
    std::string text = term();
    for (int extra = static_cast<int>(g() % 3); extra > 0; --extra) {
        text += ops[g() % std::size(ops)] + term();
    }
    return text;
}

TEST(Expression, EvaluatesByTheRuleTable) {
    using Case = std::tuple<const char*, double, double>;
    for (const auto& [text, seed, value] :
         {Case{"1+2*3", 0, 9}, Case{"2*3+4", 0, 14}, Case{"10-4-3", 0, 9}, Case{"8/4/2", 0, 4},
          Case{"1/0", 0, 1 / 0.0}, Case{"-5", 0, -5}, Case{"  2 * pi  ", 0, 2 * kPi},
          Case{"PI", 0, kPi}, Case{"seed*10", .25, 2.5}, Case{"SEED", 4, 4}, Case{"", 0, 0},
          Case{"   ", 0, 0}, Case{"1E5", 0, 0}, Case{"1e5", 0, 100000}, Case{"1.5E-05", 0, -5},
          Case{"-1/0", 0, -1 / 0.0}, Case{"cos(1-1)", 0, 1}, Case{"sin(pi)+1", 0, std::sin(kPi)},
          Case{"sin(rnd(0&1))", 0, 0}}) {
        EXPECT_EQ(eval(text, seed), value) << text;
    }
    EXPECT_NEAR(eval("1+sin(pi)"), 1, 1e-12);
    EXPECT_TRUE(std::isnan(eval("0/0")));
    EXPECT_EQ(numberToText(eval("2*pi")), "6.28318530717958");
    std::string padded = "  rnd(1&2) ";
    std::string inner = "1 + 2";
    evaluateExpression(padded, 0);
    evaluateExpression(inner, 0);
    EXPECT_EQ(padded, "rnd(1&2)") << "trimming is written back";
    EXPECT_EQ(inner, "1 + 2");
}

TEST(Expression, MalformedTextsAreErrorsNamingTheText) {
    for (const char* bad : {"abc", "rnd(1&2)+3", "sin(pi/2)", "tan(1)", "rnd(1)", "rnd&1)",
                            "rnd(1&", "sin(1", "sin)", "(5)", "1 2", "1e", "inf", "5+x"}) {
        try {
            eval(bad);
            ADD_FAILURE() << bad << " was accepted";
        } catch (const FieldError& error) {
            EXPECT_NE(std::string(error.what()).find(bad), std::string::npos) << error.what();
        }
    }
    std::string overlong;
    for (int i = 0; i < 6000; ++i) {
        overlong += "1+";
    }
    EXPECT_THROW(compileExpression(overlong), FieldError) << "refused, not a stack overflow";
}

// Runs the work on a thread with a 1 MB stack, smaller than any thread the game runs on.
template <typename Work> void onSmallStack(Work work) {
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_attr_setstacksize(&attributes, 1 << 20);
    pthread_t thread;
    const auto run = [](void* w) -> void* { return (*static_cast<Work*>(w))(), nullptr; };
    ASSERT_EQ(pthread_create(&thread, &attributes, run, &work), 0);
    pthread_join(thread, nullptr);
    pthread_attr_destroy(&attributes);
}

TEST(Expression, TextsOfTheLongestAcceptedLengthEvaluateOnASmallStack) {
    std::string chain = "seed", nested = "1"; // 10,000 and 9,997 characters
    for (int i = 0; i < 4998; ++i) {
        chain += "+1";
    }
    for (int i = 0; i < 1428; ++i) {
        nested = "rnd(1&" + nested + ")";
    }
    using Case = std::pair<std::string, double>;
    onSmallStack([&] {
        for (const auto& [text, value] : {Case{chain, 5000}, Case{nested, 1}}) {
            EXPECT_EQ(compileExpression(text).evaluate(2), value);
            EXPECT_EQ(interpretExpression(text, 2), value);
        }
    });
}

TEST(Expression, RandomRangesDrawInOrderWithRoundedBounds) {
    seedRandom(8);
    const double first = rnd();
    const double second = rnd();
    seedRandom(8);
    EXPECT_EQ(eval("pi*rnd(-1&1)"), kPi * (-1 + 2 * first));
    seedRandom(8);
    EXPECT_EQ(eval("rnd(0&rnd(1&2))"), round15(1 + first) * second) << "inner range draws first";
    EXPECT_EQ(eval("rnd(0.1+0.2&0.1+0.2)"), 0.3) << "bounds rounded to fifteen digits";
}

TEST(Expression, CompiledTreesMatchTheTextOnGeneratedExpressions) {
    std::mt19937 g(1234);
    int valid = 0;
    for (int i = 0; i < 50000 && !HasFailure(); ++i) {
        std::string text = randomExpression(g, 3);
        double seed = static_cast<double>(g() % 1000) / 64.0 - 4;
        valid += compiledMatchesText(text, seed, g()) ? 1 : 0;
    }
    EXPECT_GT(valid, 15000) << "the generator should mostly produce valid texts";
    for (const char* text : {"sin(rnd(0&1))", "rnd(0&rnd(1&2))", "1/0", "0/0",
                             "cos(seed)*rnd(seed&seed*2)", "seed/rnd(3&4)"}) {
        EXPECT_TRUE(compiledMatchesText(text, 0.75, 3)) << text;
    }
}

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
    using Case = std::tuple<const char*, double, double>;
    for (const auto& [track, age, value] :
         {Case{"0", 1, 0}, Case{"1:0|255", -3, 255}, Case{"1:0|255", 100, 255},
          Case{"2:0|0:1|10", 0.25, 2.5}, Case{"2:0|0:1|10", 1, 10}, Case{"2:0|0:1|10", 1.5, 15},
          Case{"2:0|0:1|10", -1, -10}, Case{"3:0|0:1|10:2|0", 0.5, 5},
          Case{"3:0|0:1|10:2|0", 1.5, 5}, Case{"3:0|0:1|10:2|0", 2, 0},
          Case{"3:0|0:1|10:2|0", 3, -10}, Case{"3:0|0:1|10:2|0", -0.5, -5},
          // Two keys at one time are a step to the later key's value.
          Case{"2:0|5:0|9", 0, 9}, Case{"2:0|5:0|9", 3, 9}, Case{"2:1|5:1|9", 0, 9},
          Case{"3:0|0:1|10:1|20", 0.5, 5}, Case{"3:0|0:1|10:1|20", 1, 20},
          Case{"3:0|0:1|10:1|20", 4, 20}}) {
        EXPECT_EQ(bakedTrack(track).getValue(age), value) << track << " at " << age;
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
    for (const char* bad : {"3:0|1:1|2", "x:0|1", "2:0|1:1", "1:zero|1", "1:0|1)", "99999:0|1",
                            "1e300:0|1", "inf:0|1", "nan:0|1", "-2147483649:0|1"}) {
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

// Where the fields go is seen in what the emitter spawns and draws from a file.
TEST(Particle, ALineIgnoresSurplusFieldsAndAFreshTypeWritesItsDefaults) {
    Particle type;
    type.initialize();
    type.name = "P";
    type.texture = "T";
    EXPECT_EQ(type.getParticleString(), kFresh);
    EXPECT_EQ(loaded(kFresh + ",extra,fields").getParticleString(), kFresh);
    EXPECT_EQ(loaded(withField(kFresh, 15, "2.5")).killAt, 2) << "rounds half to even";
}

TEST(Particle, MalformedLinesNameTheFieldAndChangeNothing) {
    const std::pair<std::string, const char*> cases[] = {
        {kFresh.substr(0, kFresh.rfind(',')), "field 17 (y)"},
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
    for (const auto& [line, field] : cases) {
        try {
            particle.loadParticleString(line);
            ADD_FAILURE() << line << " was accepted";
        } catch (const FieldError& error) {
            EXPECT_EQ(error.field(), field) << line << ": " << error.what();
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

    effect.loadEffectText("open.txt", kFresh + "\n"); // from memory, as a fuzz target feeds it
    expectTypes(effect, {kFresh});
    EXPECT_NE(effect.warning().find("open.txt"), std::string::npos) << effect.warning();
    EXPECT_NE(effect.warning().find("END"), std::string::npos);
}

TEST(Effect, MalformedFilesAreErrorsWithFileLineAndFieldAndKeepTheOldList) {
    test::TempFolder folder;
    Effect effect;
    effect.loadEffect(folder.write("good.txt", kFresh + "\nEND\n"));
    const std::pair<std::string, const char*> files[] = {
        {folder.write("bad.txt", kFresh + "\n" + withField(kFlame, 7, "1:0|rnd(-5)") + "\nEND\n"),
         ":2: field 7 (speedX)"},
        {folder.write("lower.txt", "end\nEND\n"), ":1: field 1 (colourR)"},
        {folder.file("missing.txt"), ":0: "}};
    for (const auto& [file, place] : files) {
        const std::string& path = file; // clang 14 lambdas cannot capture a structured binding
        EXPECT_EQ(test::errorOf([&] { effect.loadEffect(path); }), path + place);
    }
    expectTypes(effect, {kFresh});
}

} // namespace
