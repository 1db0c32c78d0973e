// The leaderboard page as a person sees it: Debian's chromium, headless, loads it from the real
// server. The screenshots stay in the build's tests folder for a person to look at.
#include "support/running_server.h"

#include <gtest/gtest.h>

#include <regex>

namespace vastorim::test {
namespace {

TEST(LeaderboardPage, ABrowserShowsTheTenPlacesAsTheGameWritesTimes) {
    const TempFolder folder;
    RunningServer server(folder);
    for (const auto& [name, score] : std::vector<std::pair<std::string, int>>{
             {"AB CD", 8500}, {"MARATHON", 754321}, {"QUICK", 123}, {"BLINK", 5}}) {
        ASSERT_EQ(server.get(submitTarget(name, score)).status, 200);
    }

    const CommandResult page =
        runCommand(browserCommand(folder) + " --dump-dom " + server.base() + "/");
    ASSERT_EQ(page.status, 0) << page.err;
    std::vector<std::string> cells;
    const std::regex cell(R"re(<td class="(rank|name|time)">([^<]*)</td>)re");
    for (auto match = std::sregex_iterator(page.out.begin(), page.out.end(), cell);
         match != std::sregex_iterator(); ++match) {
        cells.push_back((*match)[2]);
    }
    EXPECT_EQ(cells, (std::vector<std::string>{
                         "1",  "MARATHON", "7543:21", "2", "AB CD", "85:00", "3", "QUICK", "01:23",
                         "4",  "BLINK",    "00:05",   "5", "",      "--:--", "6", "",      "--:--",
                         "7",  "",         "--:--",   "8", "",      "--:--", "9", "",      "--:--",
                         "10", "",         "--:--"}));

    for (const auto& [file, size] :
         {std::pair{"leaderboard-phone.png", "390,844"}, {"leaderboard-desktop.png", "1024,768"}}) {
        const std::string picture = VASTORIM_TEST_OUTPUT_DIR "/" + std::string(file);
        std::remove(picture.c_str());
        const CommandResult shot =
            runCommand(browserCommand(folder) + " --screenshot='" + picture +
                       "' --window-size=" + size + " " + server.base() + "/");
        ASSERT_EQ(shot.status, 0) << shot.err;
        EXPECT_TRUE(readFile(picture).starts_with("\x89PNG")) << picture;
    }
    EXPECT_EQ(server.stop(), 0);
}

} // namespace
} // namespace vastorim::test
