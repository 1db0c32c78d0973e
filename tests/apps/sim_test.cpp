#include "support/test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace vastorim::test {
namespace {

const std::string sim = std::string("'") + VASTORIM_PROGRAM_DIR "/vastorim-sim'";

std::string quoted(const std::string& path) {
    return "'" + path + "'";
}

std::vector<std::string> filesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

class Sim : public ::testing::Test {
  protected:
    void SetUp() override {
        writeProgramFolder(data.path(), {"white.png", "END"});
        // The sim plays the game, which loads its effects at start-up: an empty list will do.
        writeFile(data.file("effects/effect list.txt"), "END\r\n");
    }

    CommandResult run(const std::string& options) {
        return runCommand(sim + " --data " + quoted(data.path()) + " " + options);
    }

    TempFolder data;
    TempFolder out;
};

TEST_F(Sim, WritesTheScreenshotsAskedForAndSummarises) {
    CommandResult result = run("--frames 3 --out " + quoted(out.path()) + " --screenshot-at 2");
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(filesIn(out.path()), std::vector<std::string>{"frame-000002.png"});
    PictureSize size = pngSize(out.file("frame-000002.png"));
    EXPECT_EQ(size.width, 1024);
    EXPECT_EQ(size.height, 768);
    EXPECT_EQ(result.out, "vastorim-sim: 3 frames, virtual time 48 ms, 0 draw calls in the last "
                          "frame\n");
}

TEST_F(Sim, ScreenshotListsAndIntervalsCombine) {
    CommandResult result = run("--frames 7 --frame-ms 10 --seed 5 --out " + quoted(out.path()) +
                               " --screenshot-at 1 6 9 --screenshot-every 3");
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(filesIn(out.path()),
              (std::vector<std::string>{"frame-000000.png", "frame-000001.png", "frame-000003.png",
                                        "frame-000006.png"}));
    EXPECT_NE(result.out.find("virtual time 70 ms"), std::string::npos) << result.out;
}

TEST_F(Sim, MissingResourceListOrPictureFailsWithOneLineNamingTheFile) {
    std::filesystem::remove(data.file("graphics/resource list.txt"));
    CommandResult result = run("--frames 3 --out " + quoted(out.path()));
    EXPECT_NE(result.status, 0);
    expectOneErrorLine(result.err, data.path() + "/graphics/resource list.txt");

    writeFile(data.file("graphics/resource list.txt"), "white.png\r\nlost.png\r\nEND\r\n");
    result = run("--frames 3 --out " + quoted(out.path()));
    EXPECT_NE(result.status, 0);
    expectOneErrorLine(result.err, data.path() + "/graphics/lost.png");
    EXPECT_TRUE(filesIn(out.path()).empty());
}

TEST_F(Sim, BadCommandLinesAreUsageErrors) {
    for (const std::string& options :
         {std::string("--frames 0"), std::string("--frames"), std::string("--frames 2 --bogus"),
          std::string("--frames 2 --screenshot-at"), std::string("--frames 2 --seed 1x")}) {
        CommandResult result = run(options);
        EXPECT_EQ(result.status, 2) << options;
        EXPECT_NE(result.err.find("usage: vastorim-sim"), std::string::npos) << options;
    }
    EXPECT_EQ(runCommand(sim + " --frames 2").status, 2);
}

} // namespace
} // namespace vastorim::test
