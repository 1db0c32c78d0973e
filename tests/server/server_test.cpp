// The real vastorim-server binary on loopback: what it answers, what it stores, how it stops.
#include "protocol/score_key.h"
#include "server/score_store.h"
#include "support/running_server.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <thread>

namespace vastorim::test {
namespace {

std::int64_t storedScores(const RunningServer& server) {
    return server::ScoreStore(server.database()).size();
}

// Each check of a submission, one at a time, and the limit a minute, which counts every
// submission: a refused one stores nothing and answers one line saying what was wrong.
TEST(Server, TakesGoodSubmissionsRefusesEveryFaultAndLimitsTheRate) {
    const std::string key = scoreKey("ACE", 1234, VASTORIM_SCORE_SECRET);
    std::string upperKey = key;
    std::transform(upperKey.begin(), upperKey.end(), upperKey.begin(), ::toupper);
    const std::string sqlName = "A'); DELETE FROM scores; --";
    const auto withKey = [&](const std::string& query) { return "/submit.php?" + query + key; };
    const std::tuple<std::string, int, const char*> submissions[] = {
        {submitTarget("AB CD 19", 2147483647), 200, "OK"},
        {withKey("score=1234&key="), 400, "name: missing"},
        {withKey("name=ACE&name=BOB&score=1234&key="), 400, "name: given more than once"},
        {withKey("name=&score=1234&key="), 400, "name: expected"},
        {withKey("name=ABCDEFGHIJK&score=1234&key="), 400, "name: expected"},
        {withKey("name=ace&score=1234&key="), 400, "name: expected"},
        {withKey("name=ACE0&score=1234&key="), 400, "name: expected"},
        {submitTarget(sqlName, 1234), 400, "name: expected"},
        {withKey("name=ACE&key="), 400, "score: missing"},
        {withKey("name=ACE&score=0&key="), 400, "score: expected"},
        {withKey("name=ACE&score=01234&key="), 400, "score: expected"},
        {withKey("name=ACE&score=%2B1234&key="), 400, "score: expected"},
        {withKey("name=ACE&score=12.5&key="), 400, "score: expected"},
        {withKey("name=ACE&score=2147483648&key="), 400, "score: expected"},
        {"/submit.php?name=ACE&score=1234", 400, "key: missing"},
        {submitTarget("ACE", 1234, upperKey), 400, "key: expected"},
        {submitTarget("ACE", 1234, scoreKey("ACE", 1234, "wrong secret")), 400,
         "key: does not match"},
        {withKey("name=ACE&score=1235&key="), 400, "key: does not match"},
        {withKey("name=ACF&score=1234&key="), 400, "key: does not match"},
        {withKey("name=ACE&score=1234&key="), 200, "OK"},
        {submitTarget("ACE", 1235), 429, "too many submissions"},
    };
    const TempFolder folder;
    RunningServer server(folder, "--rate " + std::to_string(std::size(submissions) - 1));
    for (const auto& [target, status, answerStart] : submissions) {
        const HttpReply reply = server.get(target);
        EXPECT_EQ(reply.status, status) << target;
        EXPECT_TRUE(reply.body.starts_with(answerStart)) << target << ": " << reply.body;
        EXPECT_EQ(reply.body.find('\n'), reply.body.size() - 1) << "one line: " << reply.body;
    }
    EXPECT_EQ(server.table(), "1|2147483647|AB CD 19|2|1234|ACE" + std::string(24, '|') + "\n");
    EXPECT_EQ(server.stop(SIGINT), 0);
    EXPECT_EQ(storedScores(server), 2);
    // Cleanly closed: the write-ahead log is folded back into the database file.
    EXPECT_FALSE(std::filesystem::exists(server.database() + "-wal"));
}

TEST(Server, ConcurrentSubmissionsAreAllStored) {
    const TempFolder folder;
    RunningServer server(folder, "--rate 100000");
    constexpr int kThreads = 8, kEach = 250;
    std::atomic<int> accepted = 0;
    std::vector<std::thread> clients;
    for (int t = 0; t < kThreads; ++t) {
        clients.emplace_back([&, t] {
            for (int i = 0; i < kEach; ++i) {
                const HttpReply reply =
                    server.get(submitTarget("T" + std::to_string(t + 1), 1 + t * kEach + i));
                accepted += reply.status == 200 && reply.body == "OK\n";
            }
        });
    }
    for (std::thread& client : clients) {
        client.join();
    }
    EXPECT_EQ(accepted, kThreads * kEach);
    EXPECT_TRUE(server.table().starts_with("1|2000|T8|2|1999|T8|")) << server.table();
    EXPECT_EQ(server.stop(), 0);
    EXPECT_EQ(storedScores(server), accepted);
}

TEST(Server, TheTableHoldsTheTenLongestTimesTiesByEarlierSubmission) {
    const TempFolder folder;
    RunningServer server(folder);
    std::vector<std::pair<std::string, int>> entries = {
        {"SLOW", 500}, {"FIRST TIE", 3000}, {"AB CD", 8500}, {"SECOND TIE", 3000}};
    std::string table = "1|8500|AB CD|2|3000|FIRST TIE|3|3000|SECOND TIE";
    for (int i = 1; i <= 8; ++i) {
        entries.emplace_back("FILL " + std::to_string(i), 1000 + i);
    }
    for (int place = 4; place <= 10; ++place) { // FILL 1 and SLOW drop out
        table += "|" + std::to_string(place) + "|" + std::to_string(1012 - place) + "|FILL " +
                 std::to_string(12 - place);
    }
    for (const auto& [name, score] : entries) {
        ASSERT_EQ(server.get(submitTarget(name, score)).status, 200);
    }
    EXPECT_EQ(server.table(), table + "\n");
    const nlohmann::json json = nlohmann::json::parse(server.get("/highscores.json").body);
    ASSERT_EQ(json["scores"].size(), 10u);
    EXPECT_EQ(json["scores"][0]["name"], "AB CD");
    EXPECT_EQ(json["scores"][0]["time"], "85:00");
    EXPECT_EQ(server.get("/highscores.php?query=other").status, 400);
    EXPECT_EQ(server.stop(), 0);
    EXPECT_NE(server.log().find("127.0.0.1 GET /highscores.json 200 "), std::string::npos)
        << server.log();
}

TEST(Server, ClientFilesNeverLeaveTheirFolder) {
    const TempFolder folder;
    writeFile(folder.file("client/version.txt"), "1.10.26\n");
    writeFile(folder.file("client/files/list.txt"), "music.wav\n");
    writeFile(folder.file("private.txt"), "not for clients");
    std::filesystem::create_symlink(folder.file("private.txt"), folder.file("client/link.txt"));
    std::filesystem::create_directory_symlink(folder.path(), folder.file("client/up"));
    RunningServer server(folder, "--client-dir client");

    EXPECT_EQ(server.get("/client/version.txt").body, "1.10.26\n");
    EXPECT_EQ(server.get("/client/files/list.txt").body, "music.wav\n");
    const std::string privateFile = folder.file("private.txt");
    for (const std::string& target :
         std::vector<std::string>{"/client/../private.txt", "/client/files/../../private.txt",
                                  "/client/%2e%2e/private.txt", "/client/..%2Fprivate.txt",
                                  "/client/%2E%2E%2Fprivate.txt", "/client/" + privateFile,
                                  "/client/%2F" + privateFile.substr(1), "/client/link.txt",
                                  "/client/up/private.txt", "/client/files/../version.txt",
                                  "/client/files", "/client/", "/client/version.txt%00.png"}) {
        const HttpReply reply = server.get(target);
        EXPECT_EQ(reply.status, 404) << target;
        EXPECT_EQ(reply.body.find("not for clients"), std::string::npos) << target;
    }
    EXPECT_EQ(server.stop(), 0);
}

TEST(Server, BadStartsSayWhyAndExitWithFailure) {
    const TempFolder folder;
    // Bounded: a server that started after all would otherwise run on.
    const std::string server = "timeout 10 " VASTORIM_SERVER_PATH " ";
    writeFile(folder.file("garbage.sqlite"), std::string(4096, 'x'));
    const RunningServer running(folder);
    const std::string other = " --db " + folder.file("other.sqlite");
    const std::tuple<std::string, int, std::string> cases[] = {
        {"--port 70000", 2, "--port: expected a whole number from 0 to 65535"},
        {"--rate", 2, "--rate: a value is missing"},
        {"--colour blue", 2, "unknown option \"--colour\""},
        {"--db " + folder.file("garbage.sqlite"), 1, "file is not a database"},
        {"--db " + folder.path(), 1, "cannot open the database"},
        {"--port " + running.base().substr(running.base().rfind(':') + 1) + other, 1,
         "the port is in use"},
        {"--client-dir " + folder.file("missing") + other, 1, "not a folder"},
        {"--game-data " + folder.file("missing") + other, 1,
         "--game-data " + folder.file("missing") + ": not a folder"},
        {"--verifiers 0", 2, "--verifiers: expected a whole number from 1 to 64"},
    };
    for (const auto& [arguments, status, message] : cases) {
        const CommandResult result = runCommand(server + arguments);
        EXPECT_EQ(result.status, status) << arguments; // timeout gives 124
        EXPECT_NE(result.err.find(message), std::string::npos) << result.err;
    }
    EXPECT_EQ(readFile(folder.file("garbage.sqlite")), std::string(4096, 'x'));
}

} // namespace
} // namespace vastorim::test
