// The leaderboard page as a person sees it: Debian's chromium, headless, loads it from the real
// server. The screenshots stay in the build's tests folder for a person to look at.
#include "support/running_server.h"

#include <gtest/gtest.h>

#include <regex>

namespace vastorim::test {
namespace {

// The width and height a PNG file's header declares; {0, 0} when it is not a PNG.
std::pair<int, int> pngSize(const std::string& path) {
    const std::string bytes = readFile(path);
    if (bytes.size() < 24 || bytes.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0) {
        return {0, 0};
    }
    const auto at = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    return {at(18) * 256 + at(19), at(22) * 256 + at(23)}; // below 65536 pixels a side
}

std::string chromium(const TempFolder& folder) {
    return "timeout 120 chromium --headless --no-sandbox --disable-gpu --disable-quic "
           "--no-first-run --disable-background-networking --disable-component-update "
           "--disable-sync --user-data-dir='" +
           folder.file("chromium-profile") + "'";
}

TEST(LeaderboardPage, ABrowserShowsTheTenPlacesAsTheGameWritesTimes) {
    const TempFolder folder;
    RunningServer server(folder);
    for (const auto& [name, score] : std::vector<std::pair<std::string, int>>{
             {"AB CD", 8500}, {"MARATHON", 754321}, {"QUICK", 123}, {"BLINK", 5}}) {
        ASSERT_EQ(server.get(signedSubmitTarget(name, score)).status, 200);
    }

    const CommandResult page = runCommand(chromium(folder) + " --dump-dom " + server.base() + "/");
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
    EXPECT_NE(server.log().find("127.0.0.1 GET / 200"), std::string::npos) << server.log();

    for (const auto& [file, width, height] : std::vector<std::tuple<std::string, int, int>>{
             {"leaderboard-phone.png", 390, 844}, {"leaderboard-desktop.png", 1024, 768}}) {
        const std::string picture = std::string(VASTORIM_TEST_OUTPUT_DIR) + "/" + file;
        std::remove(picture.c_str());
        const CommandResult shot = runCommand(chromium(folder) + " --screenshot='" + picture +
                                              "' --window-size=" + std::to_string(width) + "," +
                                              std::to_string(height) + " " + server.base() + "/");
        ASSERT_EQ(shot.status, 0) << shot.err;
        EXPECT_EQ(pngSize(picture), std::make_pair(width, height)) << picture;
    }
    EXPECT_EQ(server.stop(), 0);
}

} // namespace
} // namespace vastorim::test
