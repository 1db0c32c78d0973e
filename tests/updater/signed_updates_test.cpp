// Releases published with `vastorim-server publish` and served by the reference server on
// loopback: what installs, what is refused without a trace, and an install cut short.
#include "server/running_server.h"
#include "support/loopback_server.h"
#include "update_fixture.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace vastorim::test {
namespace {

constexpr fs::perms kProgram = fs::perms::owner_all | fs::perms::group_read |
                               fs::perms::group_exec | fs::perms::others_read |
                               fs::perms::others_exec;

// Installed 11026: a program, a text and a folder. The release changes the program and the text
// in 11027, adds a file two new folders deep and changes the text again in 11028.
class ReferenceServerUpdate : public ::testing::Test {
  protected:
    void SetUp() override {
        installed.write("bin/tool", "tool 1");
        fs::permissions(installed.file("bin/tool"), kProgram);
        installed.write("notes.txt", "notes 1");
        installed.write("docs/read me.txt", "docs");
        release.write("bin/tool", "tool 2");
        release.write("notes.txt", "notes 2");
        publish("11027", "bin/tool notes.txt");
        release.write("deep/er/new.txt", "new");
        release.write("notes.txt", "notes 3");
        publish("11028", "deep/er/new.txt notes.txt");
        server = std::make_unique<RunningServer>(
            work, std::vector<std::string>{"--client-dir", client.path()});
        setenv("VASTORIM_SERVER", server->url().c_str(), 1);
        before = folderDigest(installed.path());
    }
    void TearDown() override { unsetenv("VASTORIM_SERVER"); }

    void publish(const std::string& version, const std::string& files) {
        const CommandResult published =
            publishRelease(release.path(), client.path(), "--version " + version + " " + files);
        ASSERT_EQ(published.status, 0) << published.err;
    }
    int run() { return runUpdater("log_on", recorder.services()); }
    // The problem line: the one before "running client".
    std::string problem() const {
        const std::string log = readFile(installed.file("client_log.txt"));
        const std::size_t end = log.rfind("\r\n", log.rfind("running client"));
        return log.substr(log.rfind(" - ", end) + 3, end - log.rfind(" - ", end) - 3);
    }
    void expectUnchanged(const std::string& what) {
        fs::remove(installed.file("client_log.txt"));
        EXPECT_EQ(folderDigest(installed.path()), before) << what;
        EXPECT_EQ(recorder.started, std::vector<std::string>{"patch.dat"}) << what;
    }
    void expectRelease11028() {
        EXPECT_EQ(readFile(installed.file("client_inf.dat")), "11028\r\n");
        EXPECT_EQ(readFile(installed.file("bin/tool")), "tool 2");
        EXPECT_EQ(fs::status(installed.file("bin/tool")).permissions(), kProgram);
        EXPECT_EQ(readFile(installed.file("notes.txt")), "notes 3");
        EXPECT_EQ(readFile(installed.file("deep/er/new.txt")), "new");
        EXPECT_EQ(folderEntries(installed.path()),
                  (std::vector<std::string>{"bin", "client_inf.dat", "client_log.txt", "deep",
                                            "docs", "game setup.txt", "notes.txt"}))
            << "no temp or staging folder left";
    }

    TempFolder work, client, release;
    UpdaterFolder installed{"true", "11026"};
    std::unique_ptr<RunningServer> server;
    RecordingServices recorder;
    std::string before;
};

TEST_F(ReferenceServerUpdate, APublishedReleaseInstallsAndAReplacedProgramStaysAProgram) {
    EXPECT_EQ(run(), 0);
    expectRelease11028();
    EXPECT_EQ(recorder.started, std::vector<std::string>{"patch.dat"});
}

TEST_F(ReferenceServerUpdate, ARefusedUpdateLeavesEveryFileAsItWasAndStillStartsTheGame) {
    const std::string published = work.file("published");
    fs::copy(client.path(), published, fs::copy_options::recursive);
    const std::string list = readFile(client.file("list/list_11028.dat"));
    const auto serveList = [&](const std::vector<std::string>& paths, const SigningKey& key) {
        std::vector<std::string> hashes;
        for (const std::string& path : paths) {
            hashes.push_back(hashLine(path, {sha256Hex("x"), 1}));
        }
        client.write("list/list_11028.dat", signedList(paths, hashes, key));
    };
    // What the server is made to serve, and how the problem line starts.
    std::vector<std::pair<std::function<void()>, std::string>> cases = {
        {[&] { client.write("notes.txt", "notes 4"); }, "file refused"},
        {[&] { client.write("list/list_11028.dat", list.substr(0, list.find("sig "))); },
         "no signature : " + server->url() + "/client/list/list_11028.dat"},
        {[&] { serveList({"notes.txt"}, SigningKey::generate()); }, "wrong signature"},
        {[&] { client.write("client_inf.dat", "11028\r\nEND\r\n"); }, "no signature"},
        {[&] {
             client.write("docs", "x");
             client.write("notes.txt", "x");
             serveList({"docs", "notes.txt"}, testKey());
         },
         "path refused : docs is a folder"},
    };
    for (const char* path :
         {"../escape.txt", "/tmp/absolute.txt", "a\\b.txt", "C:/drive.txt", "a//b.txt", "./a.txt",
          "a/../b.txt", "a/.", "tab\there.txt", "", "client_inf.dat", "Client_Log.txt",
          "game setup.txt", "~update/x.txt", "temp/x.txt"}) {
        cases.push_back({[&, path] { serveList({path}, testKey()); }, "path refused ("});
    }
    for (const auto& [serve, expected] : cases) {
        fs::remove_all(client.path());
        fs::copy(published, client.path(), fs::copy_options::recursive);
        serve();
        recorder = {};
        run();
        EXPECT_TRUE(problem().starts_with(expected)) << expected << "\n" << problem();
        expectUnchanged(expected);
    }
}

TEST_F(ReferenceServerUpdate, AServerThatStopsInTheMiddleOfAFileChangesNothing) {
    // In front of the reference server: the program's bytes end halfway.
    LoopbackServer relay([this](const std::string& head) -> std::optional<std::string> {
        const std::string target = head.substr(4, head.find(' ', 4) - 4);
        const HttpReply reply = server->get(target);
        if (target.ends_with("/bin/tool")) {
            return std::string("HTTP/1.1 200 OK\r\nContent-Length: 6\r\n\r\ntoo");
        }
        return httpReply(reply.status, reply.body);
    });
    setenv("VASTORIM_SERVER", relay.base().c_str(), 1);
    run();
    EXPECT_EQ(problem(), "download failed : " + relay.base() + "/client/bin/tool");
    expectUnchanged("a file cut short");
}

// An install killed after its first file has moved (kill -9 at that moment: the child process
// ends without unwinding), and what the next start makes of it.
class InterruptedInstall : public ReferenceServerUpdate {
  protected:
    void SetUp() override {
        ReferenceServerUpdate::SetUp();
        const pid_t child = fork();
        if (child == 0) {
            UpdaterServices services = recorder.services();
            services.afterEachMove = [](int) { _exit(0); };
            runUpdater("", services);
            _exit(1);
        }
        int status = -1;
        waitpid(child, &status, 0);
        ASSERT_EQ(status, 0) << "the install was not cut short";
        ASSERT_EQ(readFile(installed.file("deep/er/new.txt")), "new") << "moved";
        ASSERT_EQ(readFile(installed.file("notes.txt")), "notes 1") << "not moved yet";
        ASSERT_EQ(readFile(installed.file("client_inf.dat")), "11026\r\n");
    }
    std::string firstSteps() const {
        const std::string log = readFile(installed.file("client_log.txt"));
        return log.substr(0, log.find("local version"));
    }
};

TEST_F(InterruptedInstall, TheNextStartCompletesIt) {
    EXPECT_EQ(run(), 0);
    expectRelease11028();
    EXPECT_NE(firstSteps().find(" - unfinished update to 1.10.28 completed\r\n"), std::string::npos)
        << firstSteps();
}

TEST_F(InterruptedInstall, TheNextStartRollsItBackWhenItCannotBeCompleted) {
    fs::rename(installed.file("bin"), work.file("bin")); // a file where its folder was
    installed.write("bin", "in the way");
    EXPECT_EQ(run(), 0);
    EXPECT_NE(firstSteps().find(" - unfinished update to 1.10.28 rolled back to 1.10.26 : "),
              std::string::npos)
        << firstSteps();
    fs::remove(installed.file("bin"));
    fs::rename(work.file("bin"), installed.file("bin"));
    fs::remove(installed.file("client_log.txt"));
    EXPECT_EQ(folderDigest(installed.path()), before);
}

// The real way of starting programs: the launcher, and the game itself where the launcher is
// missing; each is a script here that notes how it was started.
TEST(Launcher, PatchDatStartsOrElseTheGameStartsWithRun) {
    for (const bool launcherThere : {true, false}) {
        const UpdaterFolder folder("false", "");
        const std::string started = folder.file("started");
        for (const char* program : {"patch.dat", "vastorim"}) {
            if (launcherThere || program != std::string("patch.dat")) {
                folder.write(program, "#!/bin/sh\necho " + std::string(program) + " \"$@\" >'" +
                                          started + ".tmp' && mv '" + started + ".tmp' '" +
                                          started + "'\n");
                fs::permissions(folder.file(program), kProgram);
            }
        }
        EXPECT_EQ(runUpdater("", platformUpdaterServices()), 0);
        for (int waited = 0; !fs::exists(started) && waited < 5000; waited += 10) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        EXPECT_EQ(readFile(started), launcherThere ? "patch.dat\n" : "vastorim run\n");
    }
}

} // namespace
} // namespace vastorim::test
