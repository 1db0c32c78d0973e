// Replays uploaded to the real server without the game's folder: checked as submissions are,
// matched to their entry, kept and served, and left unverified.
#include "support/running_server.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>

namespace vastorim::test {
namespace {

TEST(ReplayUpload, IsCheckedLikeItsSubmissionKeptWithItsEntryAndServedAsSent) {
    const TempFolder folder;
    RunningServer server(folder);
    ASSERT_EQ(server.get(submitTarget("ACE", 1234)).status, 200);
    ASSERT_EQ(server.get(submitTarget("BOB", 999)).status, 200);
    const std::string replay("VSTRMRPL\0\x01 any bytes", 20);
    const std::tuple<std::string, std::string, int, const char*> uploads[] = {
        {replayTarget("ACE", 1234, std::string(64, '0')), replay, 400, "key: does not match"},
        {replayTarget("ACE", 1234), "", 400, "body: expected the game's replay"},
        {replayTarget("ACE", 1235), replay, 409, "no submitted score of this name and time"},
        {replayTarget("ACE", 1234), std::string(1024 * 1024 + 1, 'x'), 413, "refused: HTTP 413"},
        {replayTarget("ACE", 1234), replay, 200, "OK /replays/1"},
        {replayTarget("ACE", 1234), replay + "again", 409, "no submitted score"},
    };
    for (const auto& [target, body, status, answerStart] : uploads) {
        const HttpReply reply = server.post(target, body);
        EXPECT_EQ(reply.status, status) << target;
        EXPECT_TRUE(reply.body.starts_with(answerStart)) << target << ": " << reply.body;
    }
    EXPECT_EQ(server.get("/replays/1").body, replay);
    for (const char* missing : {"/replays/2", "/replays/1.png", "/replays/9", "/replays/-1"}) {
        EXPECT_EQ(server.get(missing).status, 404) << missing;
    }
    const nlohmann::json scores =
        nlohmann::json::parse(server.get("/highscores.json").body)["scores"];
    ASSERT_EQ(scores.size(), 2u);
    EXPECT_EQ(scores[0], nlohmann::json({{"rank", 1},
                                         {"name", "ACE"},
                                         {"hundredths", 1234},
                                         {"time", "12:34"},
                                         {"state", "unverified"},
                                         {"replay", "/replays/1"},
                                         {"picture", nullptr}}));
    EXPECT_EQ(scores[1]["replay"], nullptr);
    EXPECT_EQ(server.stop(), 0);

    // Nothing is verified without the game's folder: a table of verified entries only is empty.
    const TempFolder again;
    std::filesystem::copy_file(server.database(), again.file("scores.sqlite"));
    RunningServer verifiedOnly(again, "--verified-only");
    EXPECT_EQ(verifiedOnly.table(), std::string(29, '|') + "\n");
    EXPECT_EQ(verifiedOnly.get("/replays/1").body, replay);
}

} // namespace
} // namespace vastorim::test
