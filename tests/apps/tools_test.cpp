// vastorim-sim and vastorim-fx on a small program folder of their own.
#include "sim_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace vastorim::testing {
namespace {

bool has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

std::vector<std::string> filesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// One picture, no effect, and an effect file of two types with a warning each.
class Tools : public ::testing::Test {
  protected:
    void SetUp() override {
        test::writeProgramFolder(data, {"dot.png", "END"});
        writeFile(data + "/effects/effect list.txt", "END\r\n");
    }
    test::CommandResult sim(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), {"--out", out.path()});
        return test::runCommand(simCommand(arguments, data));
    }
    static test::CommandResult fx(const std::string& arguments) {
        return test::runCommand("'" VASTORIM_PROGRAM_DIR "/vastorim-fx' " + arguments);
    }
    TempFolder folder, out;
    const std::string data = folder.file("data");
    const std::string good = folder.write(
        "good.txt",
        "spark,1:0|255,1:0|255,1:0|255,2:0|255:1|0,1:0|4,1:0|4,1:0|rnd(-9&9),1:0|0,1:0|0,"
        "Dot.png,3,1,0,0,1,0,0\r\n"
        "ring,1:0|255,1:0|255,1:0|255,1:0|255,2:0|8:1|30,2:1|8:0|4,1:0|0,1:0|0,1:0|0,ring.png,1,"
        "0,0,0,1,0,0\r\nEND\r\nanything, after END\r\n");
};

TEST_F(Tools, SimWritesTheScreenshotsAskedForAt1024By768AndSummarises) {
    const auto result = sim({"--frames", "7", "--frame-ms", "10", "--screenshot-at", "1", "6", "9",
                             "--screenshot-every", "3"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(filesIn(out.path()),
              (std::vector<std::string>{"frame-000000.png", "frame-000001.png", "frame-000003.png",
                                        "frame-000006.png"}));
    const platform::Picture shot = test::readPng(out.file("frame-000006.png"));
    EXPECT_EQ(std::pair(shot.width, shot.height), std::pair(1024, 768));
    EXPECT_EQ(result.out, "vastorim-sim: 7 frames, virtual time 70 ms, 0 draw calls in the last "
                          "frame\n");
}

TEST_F(Tools, SimEndsOnAMissingResourceListOrPictureWithOneErrorLineNamingTheFile) {
    const auto expectOneErrorLineNaming = [&](const std::string& missing) {
        const auto result = sim({"--frames", "3"});
        EXPECT_NE(result.status, 0);
        const std::string err = "\n" + result.err;
        EXPECT_TRUE(has(err, "\nvastorim: " + data + "/graphics/" + missing)) << err;
        EXPECT_EQ(err.find("\nvastorim: "), err.rfind("\nvastorim: ")) << "one error line";
    };
    std::filesystem::remove(data + "/graphics/resource list.txt");
    expectOneErrorLineNaming("resource list.txt");
    writeFile(data + "/graphics/resource list.txt", "dot.png\r\nlost.png\r\nEND\r\n");
    expectOneErrorLineNaming("lost.png");
    EXPECT_TRUE(filesIn(out.path()).empty());
}

TEST_F(Tools, FxCheckReportsEveryFileItsWarningsAndEveryBrokenLineWithItsField) {
    const std::string bad = folder.write(
        "bad.txt", "a,1:0|255,1:0|255\n"
                   "b,1:0|1,1:0|1,1:0|1,1:0|1,1:0|1,1:0|1,1:0|1,1:0|1,1:0|1,t,x,0,0,0,1,0,0\n"
                   "c,1:0|1,1:0|1,1:0|1,1:0|1,1:0|1,1:0|1,1:0|1,1:0|1,1:0|1,t,1,0,0,0,1,0,q\n");
    const auto result = fx("check --data '" + data + "' '" + good + "' '" + bad + "' '" +
                           folder.file("none.txt") + "'");
    EXPECT_EQ(result.status, 1);
    for (const std::string& line :
         {good + ": ok (2 particle types)",
          good + ":2: field 6 (sizeY): warning: keys out of time order",
          good + ":2: field 10 (texture): warning: the resource list has no texture \"ring.png\"",
          bad + ":1: field 3 (colourB): missing",
          bad + ":2: field 11 (spawnCount): \"x\" is not a number", bad + ":3: field 17 (y): ",
          bad + ": warning: no \"END\" line", folder.file("none.txt")}) {
        EXPECT_TRUE(has(result.out, line)) << line << "\n" << result.out;
    }
    EXPECT_FALSE(has(result.out, "\"Dot.png\"")) << "found lower-cased";
    EXPECT_FALSE(has(result.out, bad + ": ok"));
}

TEST_F(Tools, FxRenderReadsTheFileAsTheGameDoes) {
    const std::string render =
        "render --data '" + data + "' --out '" + folder.file("out.png") + "' --at 0.25 --rng 3 ";
    const auto drawn = fx(render + "'" + good + "'");
    EXPECT_EQ(drawn.status, 0) << drawn.err;
    const platform::Picture picture = test::readPng(folder.file("out.png"));
    EXPECT_EQ(std::pair(picture.width, picture.height), std::pair(1024, 768));
    const auto broken = fx(render + "'" + folder.write("fx.txt", "x,1\nEND\n") + "'");
    EXPECT_EQ(broken.status, 1);
    EXPECT_TRUE(has(broken.err, folder.file("fx.txt") + ":1: field 2 (colourG)")) << broken.err;
}

} // namespace
} // namespace vastorim::testing
