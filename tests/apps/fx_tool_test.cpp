#include "support/test_support.h"

#include <gtest/gtest.h>

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
    EXPECT_TRUE(has(result.out, ":2: field 6 (sizeY): warning: keys out of time order"));
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
          bad + ":2: field 11 (spawnCount): \"x\" is not a number", bad + ":3: field 17 (y): ",
          bad + ": warning: no \"END\" line", folder.file("none.txt")}) {
        EXPECT_TRUE(has(result.out, line)) << line << "\n" << result.out;
    }
    EXPECT_FALSE(has(result.out, bad + ": ok"));
}

TEST_F(Fx, RenderReadsTheFileAsTheGameDoes) {
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

} // namespace
} // namespace vastorim::test
