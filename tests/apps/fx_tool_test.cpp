#include "support/test_support.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace vastorim::test {
namespace {

test::CommandResult fx(const std::string& arguments) {
    return runCommand("'" VASTORIM_PROGRAM_DIR "/vastorim-fx' " + arguments);
}

bool has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

const std::string kGood =
    "spark,1:0|255,1:0|255,1:0|255,2:0|255:1|0,1:0|4,1:0|4,1:0|rnd(-9&9),1:0|0,1:0|0,"
    "Dot.png,3,1,0,0,1,0,0\r\n"
    "ring,1:0|255,1:0|255,1:0|255,1:0|255,2:0|8:1|30,2:1|8:0|4,1:0|0,1:0|0,1:0|0,ring.png,1,0,"
    "0,0,1,0,0\r\nEND\r\nanything, after END\r\n";

class Fx : public ::testing::Test {
  protected:
    void SetUp() override {
        writeProgramFolder(folder.file("data"), {"dot.png", "END"});
        good = folder.write("good.txt", kGood);
    }
    TempFolder folder;
    std::string good;
};

TEST_F(Fx, CheckPassesAGoodFileWithItsWarningsAndUnlistedTextures) {
    const auto result = fx("check --data '" + folder.file("data") + "' '" + good + "'");
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_TRUE(has(result.out, good + ": ok (2 particle types)")) << result.out;
    EXPECT_TRUE(has(result.out, ":2: field 6 (sizey): warning: keys out of time order"));
    EXPECT_FALSE(has(result.out, "\"Dot.png\"")) << "found lower-cased";
    EXPECT_TRUE(has(result.out, ":2: field 10 (texture): warning: the resource list has no "
                                "texture \"ring.png\""));
}

TEST_F(Fx, CheckReportsEveryBrokenLineWithItsFieldAndStatusOne) {
    const std::string bad = folder.write(
        "bad.txt", "a,1:0|255,1:0|255\n"
                   "b,1:0|1,1:0|1,1:0|1,1:0|1,1:0|1,1:0|1,1:0|1,1:0|1,1:0|1,t,x,0,0,0,1,0,0\n"
                   "c,1:0|1,1:0|1,1:0|1,1:0|1,1:0|1,1:0|1,1:0|1,1:0|1,1:0|1,t,1,0,0,0,1,0,q\n");
    const auto result = fx("check '" + good + "' '" + bad + "' '" + folder.file("none.txt") + "'");
    EXPECT_EQ(result.status, 1);
    for (const std::string& line :
         {good + ": ok (2 particle types)", bad + ":1: field 3 (colourB): missing",
          bad + ":2: field 11 (spawnnumber): \"x\" is not a number", bad + ":3: field 17 (Y): ",
          bad + ": warning: no \"END\" line", folder.file("none.txt")}) {
        EXPECT_TRUE(has(result.out, line)) << line << "\n" << result.out;
    }
    EXPECT_FALSE(has(result.out, bad + ": ok"));
}

TEST_F(Fx, ShowAndRenderReadTheFileAsTheGameDoes) {
    const auto shown = fx("show '" + good + "'");
    EXPECT_EQ(shown.status, 0);
    for (const char* part :
         {"type 0: \"spark\"", "3 per spawn", "at 0 s: rnd(-9&9)", "type 1: \"ring\""}) {
        EXPECT_TRUE(has(shown.out, part)) << part << "\n" << shown.out;
    }
    const std::string render = "render --data '" + folder.file("data") + "' --out '" +
                               folder.file("out.png") + "' --at 0.25 --rng 3 ";
    const auto drawn = fx(render + "'" + good + "'");
    EXPECT_EQ(drawn.status, 0) << drawn.err;
    EXPECT_EQ(pngSize(folder.file("out.png")).width, 1024);
    EXPECT_EQ(pngSize(folder.file("out.png")).height, 768);
    const auto broken = fx(render + "'" + folder.write("fx.txt", "x,1\nEND\n") + "'");
    EXPECT_EQ(broken.status, 1);
    EXPECT_TRUE(has(broken.err, folder.file("fx.txt") + ":1: field 2 (colourG)")) << broken.err;
}

TEST(FxEval, PrintsValuesInTheStandardFormAndRepeatsDrawsForASeed) {
    auto result =
        fx("eval --seed 0.25 '1+2*3' '8/4/2' ' 2 * pi ' 'seed*10' '1/0' '-1/0' '0/0' '0.00001'");
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "9\n4\n6.28318530717958\n2.5\ninf\n-inf\nnan\n1E-05\n");
    const auto draws = fx("eval --rng 42 'rnd(0&1)' 'rnd(5&6)'");
    EXPECT_EQ(draws.status, 0);
    EXPECT_EQ(draws.out, fx("eval --rng 42 'rnd(0&1)' 'rnd(5&6)'").out);
    EXPECT_NE(draws.out, fx("eval --rng 43 'rnd(0&1)' 'rnd(5&6)'").out);

    result = fx("eval '1+1' 'sin(pi/2)'");
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "2\n");
    EXPECT_EQ(result.err.rfind("error: ", 0), 0u) << result.err;
    EXPECT_TRUE(has(result.err, "sin(pi/2)"));
}

TEST(FxUsage, MissingOrBadArgumentsAreNamed) {
    TempFolder empty;
    struct Case {
        std::string arguments;
        int status;
        std::string message;
    };
    for (const Case& c :
         {Case{"preview effect.txt", 2, "--data is required"},
          Case{"preview a.txt b.txt --data .", 2, "preview takes one effect file"},
          Case{"gallery --data .", 2, "--out"},
          Case{"gallery --data '" + empty.path() + "' --out '" + empty.file("g.png") + "'", 1,
               "effect list.txt"}}) {
        const auto result = fx(c.arguments);
        EXPECT_EQ(result.status, c.status) << c.arguments;
        EXPECT_TRUE(has(result.err, c.message)) << c.arguments << ": " << result.err;
    }
}

} // namespace
} // namespace vastorim::test
