#include "sim_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace vastorim::testing {
namespace {

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
        test::writeProgramFolder(data.path(), {"white.png", "END"});
        writeFile(data.file("effects/effect list.txt"), "END\r\n");
    }
    test::CommandResult run(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), {"--out", out.path()});
        return test::runCommand(simCommand(arguments, data.path()));
    }
    TempFolder data;
    TempFolder out;
};

TEST_F(Sim, WritesTheScreenshotsAskedForAt1024By768AndSummarises) {
    const auto result = run({"--frames", "7", "--frame-ms", "10", "--screenshot-at", "1", "6", "9",
                             "--screenshot-every", "3"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(filesIn(out.path()),
              (std::vector<std::string>{"frame-000000.png", "frame-000001.png", "frame-000003.png",
                                        "frame-000006.png"}));
    const test::PictureSize size = test::pngSize(out.file("frame-000006.png"));
    EXPECT_EQ(size.width, 1024);
    EXPECT_EQ(size.height, 768);
    EXPECT_EQ(result.out, "vastorim-sim: 7 frames, virtual time 70 ms, 0 draw calls in the last "
                          "frame\n");
}

TEST_F(Sim, MissingResourceListOrPictureFailsWithOneLineNamingTheFile) {
    std::filesystem::remove(data.file("graphics/resource list.txt"));
    auto result = run({"--frames", "3"});
    EXPECT_NE(result.status, 0);
    test::expectOneErrorLine(result.err, data.path() + "/graphics/resource list.txt");

    writeFile(data.file("graphics/resource list.txt"), "white.png\r\nlost.png\r\nEND\r\n");
    result = run({"--frames", "3"});
    EXPECT_NE(result.status, 0);
    test::expectOneErrorLine(result.err, data.path() + "/graphics/lost.png");
    EXPECT_TRUE(filesIn(out.path()).empty());
}

} // namespace
} // namespace vastorim::testing
