// Signed releases from the reference server: what installs, what fails or is refused without a
// trace, an install cut short, and the launcher.
#include "support/loopback_server.h"
#include "update_fixture.h"

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace vastorim::test {
namespace {

constexpr fs::perms kProgram = fs::perms::owner_all | fs::perms::group_read |
                               fs::perms::group_exec | fs::perms::others_read |
                               fs::perms::others_exec;

// Installed 11026: a program, a text and a folder. 11027 changes the program and the text;
// 11028 adds a file two new folders deep and changes the text again.
class SignedUpdate : public UpdaterTest {
  protected:
    void SetUp() override {
        install("true", "11026");
        game.write("bin/tool", "tool 1");
        fs::permissions(game.file("bin/tool"), kProgram);
        game.write("notes.txt", "notes 1");
        game.write("docs/read me.txt", "docs");
        release.write("bin/tool", "tool 2");
        release.write("notes.txt", "notes 2");
        publish("--version 11027 bin/tool notes.txt");
        release.write("deep/er/new.txt", "new");
        release.write("notes.txt", "notes 3");
        publish("--version 11028 deep/er/new.txt notes.txt");
        before = folderDigest(game.path());
    }
    // The problem line: the one before "running client".
    std::string problem() const {
        const std::string lines = log();
        const std::size_t end = lines.rfind("\nrunning client");
        return lines.substr(lines.rfind('\n', end - 1) + 1, end - lines.rfind('\n', end - 1) - 1);
    }
    void expectRelease11028() const {
        EXPECT_EQ(std::tuple(readFile(game.file("client_inf.dat")), readFile(game.file("bin/tool")),
                             readFile(game.file("notes.txt")),
                             readFile(game.file("deep/er/new.txt"))),
                  std::tuple("11028\r\n", "tool 2", "notes 3", "new"));
        EXPECT_EQ(fs::status(game.file("bin/tool")).permissions(), kProgram);
        EXPECT_EQ(folderEntries(game.path()),
                  (std::vector<std::string>{"bin", "client_inf.dat", "client_log.txt", "deep",
                                            "docs", "game setup.txt", "notes.txt"}))
            << "no temp or staging folder left";
    }
    std::string before;
};

// Whatever goes wrong, one line says what and where, nothing in the program folder changes, and
// the game starts.
TEST_F(SignedUpdate, AFailureOrARefusalLogsOneLineChangesNothingAndStillStartsTheGame) {
    const std::string published = work.file("published");
    fs::copy(client.path(), published, fs::copy_options::recursive);
    const std::string list = readFile(client.file("list/list_11028.dat"));
    std::atomic<bool> cutShort = false;
    // In front of the reference server, a relay that can end the program's bytes halfway.
    LoopbackServer relay([&](const httplib::Request& request, httplib::Response& response) {
        if (cutShort && request.path.ends_with("/bin/tool")) {
            // Six bytes announced, three sent, and the connection closed.
            response.set_content_provider(6, "application/octet-stream",
                                          [](std::size_t, std::size_t, httplib::DataSink& sink) {
                                              sink.write("too", 3);
                                              return false;
                                          });
            return true;
        }
        return server->relay(request, response);
    });
    setenv("VASTORIM_SERVER", relay.base().c_str(), 1);
    const std::string base = relay.base() + "/client/";
    // What the server serves instead: versions, or a list for 11028 naming these paths, each
    // with the hash of "x", which the server holds.
    const auto versions = [&](const std::vector<std::string>& lines) {
        return [&, lines] { client.write("client_inf.dat", signedList(lines, {}, testKey())); };
    };
    const auto listing = [&](const std::vector<std::string>& paths, const SigningKey& key) {
        return [&, paths, signer = &key] {
            std::vector<std::string> hashes;
            for (const std::string& path : paths) {
                hashes.push_back(hashLine(path, {sha256Hex("x"), 1}));
            }
            client.write("list/list_11028.dat", signedList(paths, hashes, *signer));
        };
    };
    const std::string versionFile = base + "client_inf.dat";
    const SigningKey anotherKey = SigningKey::generate();
    // What goes wrong, and how the problem line starts.
    std::vector<std::pair<std::function<void()>, std::string>> cases = {
        {[&] { install("maybe", "11026"); },
         "not a switch : " + game.file("game setup.txt") + " line 3 (online) : \"maybe\""},
        {[&] { fs::remove(client.file("client_inf.dat")); }, "download failed : " + versionFile},
        {versions({}), "no version before END : " + versionFile},
        {versions({"11028", "x"}), "not a version number : line 2 of " + versionFile + " : \"x\""},
        {versions({"70000"}), "not a version number : line 1 of "},
        {versions({"11029", "11028"}), "download failed : " + base + "list/list_11029.dat"},
        {[&] { cutShort = true; }, "download failed : " + base + "bin/tool"},
        {[&] { client.write("notes.txt", "notes 4"); }, "file refused"},
        {[&] { client.write("list/list_11028.dat", list.substr(0, list.find("sig "))); },
         "no signature : " + base + "list/list_11028.dat"},
        {listing({"notes.txt"}, anotherKey), "wrong signature"},
        {[&] { client.write("client_inf.dat", "11028\r\nEND\r\n"); }, "no signature"},
        {[&] {
             client.write("docs", "x");
             client.write("notes.txt", "x");
             listing({"docs", "notes.txt"}, testKey())();
         },
         "path refused : docs is a folder"},
    };
    for (const char* path :
         {"../escape.txt", "/tmp/absolute.txt", "a\\b.txt", "C:/drive.txt", "a//b.txt", "./a.txt",
          "a/../b.txt", "a/.", "tab\there.txt", "", "client_inf.dat", "Client_Log.txt",
          "game setup.txt", "~update/x.txt", "temp/x.txt"}) {
        cases.push_back({listing({path}, testKey()), "path refused ("});
    }
    for (const auto& [serve, expected] : cases) {
        fs::remove_all(client.path());
        fs::copy(published, client.path(), fs::copy_options::recursive);
        install("true", "11026");
        cutShort = false;
        serve();
        const std::string untouched = folderDigest(game.path());
        recorder = {};
        EXPECT_EQ(run(), 0);
        EXPECT_TRUE(problem().starts_with(expected)) << expected << "\n" << problem();
        fs::remove(game.file("client_log.txt"));
        EXPECT_EQ(folderDigest(game.path()), untouched) << expected;
        EXPECT_EQ(recorder.started, std::vector<std::string>{"patch.dat"}) << expected;
    }
}

// An install killed after its first file has moved (kill -9 at that moment: the child process
// ends without unwinding), and what the next start makes of it.
class InterruptedInstall : public SignedUpdate {
  protected:
    void SetUp() override {
        SignedUpdate::SetUp();
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
        ASSERT_EQ(readFile(game.file("deep/er/new.txt")), "new") << "moved";
        ASSERT_EQ(readFile(game.file("notes.txt")), "notes 1") << "not moved yet";
        ASSERT_EQ(readFile(game.file("client_inf.dat")), "11026\r\n");
    }
};

TEST_F(InterruptedInstall, TheNextStartCompletesIt) {
    EXPECT_EQ(run(), 0);
    expectRelease11028();
    EXPECT_TRUE(log().starts_with("initialisation complete\n"
                                  "unfinished update to 1.10.28 completed\n"))
        << log();
}

TEST_F(InterruptedInstall, TheNextStartRollsItBackWhenItCannotBeCompleted) {
    fs::rename(game.file("bin"), work.file("bin")); // a file where its folder was
    game.write("bin", "in the way");
    EXPECT_EQ(run(), 0);
    EXPECT_TRUE(log().starts_with("initialisation complete\n"
                                  "unfinished update to 1.10.28 rolled back to 1.10.26 : "))
        << log();
    fs::remove(game.file("bin"));
    fs::rename(work.file("bin"), game.file("bin"));
    fs::remove(game.file("client_log.txt"));
    EXPECT_EQ(folderDigest(game.path()), before);
}

// The real way of starting programs: the launcher, and the game itself where the launcher is
// missing; each is a script here that notes how it was started.
TEST_F(UpdaterTest, PatchDatStartsOrElseTheGameStartsWithRun) {
    install("false", "");
    for (const char* program : {"vastorim", "patch.dat"}) {
        const std::string started = game.file("started");
        const std::string script = " \"$@\" >started.new && mv started.new started\n";
        game.write(program, "#!/bin/sh\necho " + std::string(program) + script);
        fs::permissions(game.file(program), kProgram);
        EXPECT_EQ(runUpdater("", platformUpdaterServices()), 0);
        for (int waited = 0; !fs::exists(started) && waited < 5000; waited += 10) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        EXPECT_EQ(readFile(started), std::string(program) + (program[0] == 'v' ? " run\n" : "\n"));
        fs::remove(started);
    }
}

} // namespace
} // namespace vastorim::test
