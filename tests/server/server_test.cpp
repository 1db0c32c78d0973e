// The real vastorim-server binary on loopback: what it answers, what it stores, how it stops.
#include "running_server.h"

#include "protocol/score_key.h"
#include "server/score_store.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <thread>

namespace vastorim::test {
namespace {

std::int64_t storedScores(const std::string& database) {
    return server::ScoreStore(database).size();
}

std::string tableReply(const RunningServer& server) {
    return server.get("/highscores.php?query=score_list").body;
}

TEST(Server, RefusesBadSubmissionsWithOneLineAndStoresNothing) {
    TempFolder folder;
    RunningServer server(folder);
    const std::string goodKey = scoreKey("ACE", 1234, kTestSecret);
    const std::string sqlName = "A'); DELETE FROM scores; --";
    const struct {
        std::string target;
        const char* problemStart;
    } cases[] = {
        {submitTarget("ACE", "1234", scoreKey("ACE", 1234, "wrong secret")), "key:"},
        {submitTarget("ace", "1234", goodKey), "name:"},
        {submitTarget("ACE", "01234", goodKey), "score:"},
        {submitTarget(sqlName, "1234", scoreKey(sqlName, 1234, kTestSecret)), "name:"},
        {"/submit.php?name=ACE&score=1234", "key:"},
    };
    for (const auto& c : cases) {
        const HttpReply reply = server.get(c.target);
        EXPECT_EQ(reply.status, 400) << c.target;
        EXPECT_EQ(reply.body.rfind(c.problemStart, 0), 0u) << reply.body;
        EXPECT_EQ(reply.body.find('\n'), reply.body.size() - 1) << "one line: " << reply.body;
    }
    EXPECT_EQ(server.get("/highscores.php?query=score_list").body, std::string(29, '|') + "\n");
    EXPECT_EQ(server.stop(SIGINT), 0);
    EXPECT_EQ(storedScores(server.database()), 0);
    // Cleanly closed: the write-ahead log is folded back into the database file.
    EXPECT_FALSE(std::filesystem::exists(server.database() + "-wal"));
}

TEST(Server, ConcurrentSubmissionsAreAllStored) {
    TempFolder folder;
    RunningServer server(folder, {"--rate", "100000"});
    constexpr int kThreads = 8;
    constexpr int kEach = 250;
    std::atomic<int> accepted = 0;
    std::vector<std::thread> clients;
    for (int t = 0; t < kThreads; ++t) {
        clients.emplace_back([&, t] {
            for (int i = 0; i < kEach; ++i) {
                const HttpReply reply =
                    server.get(signedSubmitTarget("T" + std::to_string(t + 1), 1 + t * kEach + i));
                accepted += reply.status == 200 && reply.body == "OK\n";
            }
        });
    }
    for (std::thread& client : clients) {
        client.join();
    }
    EXPECT_EQ(accepted, kThreads * kEach);
    const std::string table = tableReply(server);
    EXPECT_EQ(table.rfind("1|2000|T8|2|1999|T8|", 0), 0u) << table;
    EXPECT_EQ(std::count(table.begin(), table.end(), '|'), 29) << table;
    EXPECT_EQ(server.stop(), 0);
    EXPECT_EQ(storedScores(server.database()), accepted);
}

TEST(Server, SubmissionsBeyondTheRateAreRefusedWith429) {
    TempFolder folder;
    RunningServer server(folder, {"--rate", "3"});
    std::vector<int> statuses;
    for (int i = 1; i <= 5; ++i) {
        statuses.push_back(server.get(signedSubmitTarget("ACE", i)).status);
    }
    EXPECT_EQ(statuses, (std::vector<int>{200, 200, 200, 429, 429}));
    EXPECT_EQ(server.get("/highscores.php?query=score_list").status, 200); // reading is not limited
    EXPECT_EQ(server.stop(), 0);
    EXPECT_EQ(storedScores(server.database()), 3);
}

TEST(Server, TableHasTenPlacesLongestFirstTiesByEarlierSubmission) {
    TempFolder folder;
    RunningServer server(folder);
    for (const auto& [name, score] : std::vector<std::pair<std::string, int>>{
             {"SLOW", 500}, {"FIRST TIE", 3000}, {"AB CD", 8500}, {"SECOND TIE", 3000}}) {
        ASSERT_EQ(server.get(signedSubmitTarget(name, score)).status, 200);
    }
    EXPECT_EQ(tableReply(server), "1|8500|AB CD|2|3000|FIRST TIE|3|3000|SECOND TIE|4|500|SLOW" +
                                      std::string(18, '|') + "\n");

    for (int i = 1; i <= 8; ++i) {
        ASSERT_EQ(server.get(signedSubmitTarget("FILL " + std::to_string(i), 1000 + i)).status,
                  200);
    }
    // Twelve entries: FILL 8 to FILL 2 follow the ties; FILL 1 and SLOW drop out.
    std::string full = "1|8500|AB CD|2|3000|FIRST TIE|3|3000|SECOND TIE";
    for (int place = 4; place <= 10; ++place) {
        full += "|" + std::to_string(place) + "|" + std::to_string(1012 - place) + "|FILL " +
                std::to_string(12 - place);
    }
    EXPECT_EQ(tableReply(server), full + "\n");

    const nlohmann::json json = nlohmann::json::parse(server.get("/highscores.json").body);
    ASSERT_EQ(json["scores"].size(), 10u);
    EXPECT_EQ(
        json["scores"][0],
        nlohmann::json({{"rank", 1}, {"name", "AB CD"}, {"hundredths", 8500}, {"time", "85:00"}}));

    EXPECT_EQ(server.get("/highscores.php?query=other").status, 400);
    EXPECT_EQ(server.stop(), 0);
    EXPECT_NE(server.log().find("127.0.0.1 GET /highscores.json 200 "), std::string::npos)
        << server.log();
}

TEST(Server, ClientFilesNeverLeaveTheirFolder) {
    TempFolder folder;
    writeFile(folder.file("client/version.txt"), "1.10.26\n");
    writeFile(folder.file("client/files/list.txt"), "music.wav\n");
    writeFile(folder.file("private.txt"), "not for clients");
    std::filesystem::create_symlink(folder.file("private.txt"), folder.file("client/link.txt"));
    std::filesystem::create_directory_symlink(folder.path(), folder.file("client/up"));
    RunningServer server(folder, {"--client-dir", folder.file("client")});

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
    TempFolder folder;
    // Bounded: a server that started after all would otherwise run on.
    const std::string server = std::string("timeout 10 ") + VASTORIM_SERVER_PATH;
    writeFile(folder.file("garbage.sqlite"), std::string(4096, 'x'));
    RunningServer running(folder);
    const struct {
        std::string arguments;
        int status;
        const char* message;
    } cases[] = {
        {"--port 70000", 2, "--port: expected a whole number from 0 to 65535"},
        {"--rate", 2, "--rate: a value is missing"},
        {"--colour blue", 2, "unknown option \"--colour\""},
        {"--db " + folder.file("garbage.sqlite"), 1, "file is not a database"},
        {"--db " + folder.path(), 1, "cannot open the database"},
        {"--port " + std::to_string(running.port()) + " --db " + folder.file("other.sqlite"), 1,
         "the port is in use"},
        {"--client-dir " + folder.file("missing") + " --db " + folder.file("other.sqlite"), 1,
         "not a folder"},
    };
    for (const auto& c : cases) {
        const CommandResult result = runCommand(server + " " + c.arguments);
        EXPECT_EQ(result.status, c.status) << c.arguments; // timeout gives 124
        EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
    }
    EXPECT_EQ(readFile(folder.file("garbage.sqlite")), std::string(4096, 'x'));
}

} // namespace
} // namespace vastorim::test
