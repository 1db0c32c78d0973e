// The updater's steps in their order, against a loopback server that serves a signed update
// directory: consent, the log, the version lists, the files, the window and the launcher.
#include "engine/startup.h"
#include "support/loopback_server.h"
#include "update_fixture.h"
#include "updater/updater_state.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

namespace vastorim::test {
namespace {

// "a%20b" -> "a b": what the tests' paths need.
std::string decoded(std::string text) {
    for (std::size_t at; (at = text.find("%20")) != std::string::npos;) {
        text.replace(at, 3, " ");
    }
    return text;
}

std::uint32_t colourAt(const platform::Picture& picture, int x, int y) {
    return picture.pixels.at(static_cast<std::size_t>(y * picture.width + x)) & 0xFFFFFF;
}

class Updater : public ::testing::Test {
  protected:
    void SetUp() override {
        setenv("VASTORIM_SERVER", server.base().c_str(), 1);
        unsetenv("VASTORIM_CONSENT");
    }
    void TearDown() override { unsetenv("VASTORIM_SERVER"); }

    int run(const std::string& commandLine = "log_on") {
        return runUpdater(commandLine, recorder.services());
    }
    // The client log with each line's date and time cut off.
    std::string log(const TempFolder& folder) const {
        std::istringstream lines(readFile(folder.file("client_log.txt")));
        std::string masked;
        for (std::string line; std::getline(lines, line);) {
            masked += line.substr(line.find(" - ") + 3, line.find('\r') - line.find(" - ") - 3);
            masked += '\n';
        }
        return masked;
    }
    // The text with "B/" standing for the update directory's address and "P/" for the folder.
    std::string placed(std::string text, const TempFolder& folder) const {
        for (const auto& [placeholder, value] :
             {std::pair{"B/", server.base() + "/client/"}, std::pair{"P/", folder.path() + "/"}}) {
            for (std::size_t at = 0; (at = text.find(placeholder, at)) != std::string::npos;
                 at += value.size()) {
                text.replace(at, 2, value);
            }
        }
        return text;
    }
    std::vector<std::string> fileTargets() const {
        std::vector<std::string> files;
        for (const std::string& target : server.targets()) {
            if (!target.ends_with(".dat")) {
                files.push_back(target);
            }
        }
        return files;
    }

    ClientFiles client;
    LoopbackServer server{[this](const std::string& head) {
        const std::string target = decoded(head.substr(4, head.find(' ', 4) - 4));
        const auto file = client.find(target.substr(std::string("/client/").size()));
        return file != client.end() ? httpReply(200, file->second) : httpReply(404, "");
    }};
    RecordingServices recorder;
};

TEST(StartUp, EveryCommandLineButExactlyRunGoesToTheUpdater) {
    EXPECT_EQ(joinedCommandLine({"", "log_on", "x"}), " log_on x");
    for (const char* commandLine : {"", "Run", "RUN", " run", "run ", "log_on", "run run"}) {
        EXPECT_EQ(updaterRuns(commandLine), !isDevelopmentRun()) << '"' << commandLine << '"';
    }
    EXPECT_FALSE(updaterRuns("run"));
}

TEST_F(Updater, AFirstStartAsksOnceWritesTheNineLinesAndAnsweredNoGoesNowhere) {
    // The box's answer, VASTORIM_CONSENT (nullptr: unset), the third line written.
    const std::tuple<std::optional<bool>, const char*, const char*> cases[] = {
        {false, nullptr, "false"},
        {true, "no", "true"},
        {std::nullopt, "yes", "true"},
        {std::nullopt, "YES", "false"},
        {std::nullopt, nullptr, "false"}};
    for (const auto& [answer, environment, third] : cases) {
        const UpdaterFolder folder("", "");
        recorder = {};
        recorder.answer = answer;
        if (environment != nullptr) {
            setenv("VASTORIM_CONSENT", environment, 1);
        }
        EXPECT_EQ(run(), 0);
        unsetenv("VASTORIM_CONSENT");
        EXPECT_EQ(readFile(folder.file("game setup.txt")),
                  "true\r\nfalse\r\n" + std::string(third) +
                      "\r\n1\r\nup\r\ndown\r\nleft\r\nright\r\nspace\r\n");
        EXPECT_EQ(recorder.questions, 1);
        EXPECT_EQ(recorder.started, std::vector<std::string>{"patch.dat"});
    }
    EXPECT_EQ(server.targets().size(), 2u) << "only the two runs that were allowed asked";
}

TEST_F(Updater, ASetupFileThatSaysOfflineAsksNothingAndFetchesNothing) {
    const UpdaterFolder folder("False", "11026");
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(recorder.questions, 0);
    EXPECT_TRUE(server.targets().empty());
    EXPECT_FALSE(std::filesystem::exists(folder.file("client_log.txt")));
    EXPECT_EQ(recorder.started, std::vector<std::string>{"patch.dat"});
}

TEST_F(Updater, From11026To11028TheNewerListsAndTheirFilesComeInOrderAndTheLogSaysEachStep) {
    const UpdaterFolder folder("true", "11026");
    client = {{"effects/new effect.txt", "hello\n"}, {"notes.txt", "v2\n"}, {"readme.txt", "r\n"}};
    addVersionList(client, {"11028", "11027", "11026"});
    addFileList(client, "11028", {"effects/new effect.txt", "notes.txt"});
    addFileList(client, "11027", {"readme.txt", "notes.txt"});
    addFileList(client, "11026", {"readme.txt"});
    EXPECT_EQ(run(" log_on  "), 0);

    EXPECT_EQ(readFile(folder.file("client_inf.dat")), "11028\r\n");
    EXPECT_EQ(readFile(folder.file("effects/new effect.txt")), "hello\n");
    EXPECT_EQ(readFile(folder.file("notes.txt")), "v2\n");
    EXPECT_EQ(fileTargets(),
              (std::vector<std::string>{"/client/effects/new%20effect.txt", "/client/notes.txt",
                                        "/client/readme.txt", "/client/notes.txt"}))
        << "a file named in two lists comes twice";
    EXPECT_EQ(folderEntries(folder.path()),
              (std::vector<std::string>{"client_inf.dat", "client_log.txt", "effects",
                                        "game setup.txt", "notes.txt", "readme.txt"}));
    EXPECT_EQ(recorder.started, std::vector<std::string>{"patch.dat"});
    const std::string expected = R"(initialisation complete
local version : 11026
temp folder doesn't exist, creating
temp folder found
download start : B/client_inf.dat,P/temp/client_inf.dat
folder found
download complete
reading remote version list
line read : 11028
line read : 11027
line read : 11026
line read : END
temporary folder deleted
remote version : 11028
update needed
Updating Client : 1.10.26 -> 1.10.28
no temporary folder exists, creating
temp folder found
total lists : 2
downloading list : 11028
download start : B/list/list_11028.dat,P/temp/list_11028.dat
folder found
download complete
reading list file : 11028
line read : effects/new effect.txt
adding to list
line read : notes.txt
adding to list
line read : END
list read complete
downloading list : 11027
download start : B/list/list_11027.dat,P/temp/list_11027.dat
folder found
download complete
reading list file : 11027
line read : readme.txt
adding to list
line read : notes.txt
adding to list
line read : END
list read complete
temporary folder removed
download start : B/effects/new%20effect.txt,P/~update/new/effects/new effect.txt
no folder exists, creating
folder found
download complete
download start : B/notes.txt,P/~update/new/notes.txt
folder found
download complete
download start : B/readme.txt,P/~update/new/readme.txt
folder found
download complete
download start : B/notes.txt,P/~update/new/notes.txt
folder found
download complete
running client
)";
    EXPECT_EQ(log(folder), placed(expected, folder));
}

TEST_F(Updater, EqualVersionsOpenNoWindowAndFetchNoFileButMakeAndRemoveTheTempFolder) {
    const UpdaterFolder folder("true", "11026");
    addVersionList(client, {"11026"});
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(server.targets(), std::vector<std::string>{"/client/client_inf.dat"});
    EXPECT_EQ(recorder.windows, 0);
    const std::string log = this->log(folder);
    EXPECT_NE(log.find("temp folder doesn't exist, creating\ntemp folder found\n"),
              std::string::npos);
    EXPECT_TRUE(
        log.ends_with("temporary folder deleted\nremote version : 11026\nrunning client\n"));
    EXPECT_FALSE(std::filesystem::exists(folder.file("temp")));
}

TEST_F(Updater, OnlyLogOnWithSpacesAroundItTurnsTheLogOnAndOtherwiseTheLogIsUntouched) {
    addVersionList(client, {"11026"});
    const std::pair<const char*, bool> cases[] = {
        {"  log_on ", true}, {"log_on", true}, {"LOG_ON", false}, {"", false}, {"log_on x", false}};
    for (const auto& [commandLine, on] : cases) {
        const UpdaterFolder folder("true", "11026");
        const std::string before = folder.write("client_log.txt", "an old log\r\n");
        run(commandLine);
        EXPECT_EQ(log(folder).starts_with("initialisation complete\n"), on) << commandLine;
        EXPECT_EQ(readFile(before) == "an old log\r\n", !on) << commandLine;
    }
}

TEST_F(Updater, ThreeFilesGiveAnEmptyAHalfAndAFullBarOnTheWindowsPicture) {
    const UpdaterFolder folder("true", "11026");
    std::filesystem::create_directory(folder.file("graphics"));
    std::filesystem::copy(VASTORIM_PROGRAM_DIR "/graphics/updater.ttf",
                          folder.file("graphics/updater.ttf"));
    client = {{"a", "1"}, {"b", "2"}, {"c", "3"}};
    addVersionList(client, {"11027"});
    addFileList(client, "11027", {"a", "b", "c"});
    run();
    // The first paint shows the label before any file; then one paint after each file.
    ASSERT_EQ(recorder.pictures.size(), 4u);
    const char* names[] = {"empty", "half", "full"};
    const int barEnds[] = {16, 16 + 212, 16 + 425};
    for (int i = 0; i < 3; ++i) {
        const platform::Picture& picture = recorder.pictures[i + 1];
        std::string problem;
        ASSERT_TRUE(platform::writePicture(VASTORIM_TEST_OUTPUT_DIR "/update-window-" +
                                               std::string(names[i]) + ".png",
                                           picture, problem))
            << problem;
        ASSERT_EQ(std::pair(picture.width, picture.height), std::pair(465, 57));
        EXPECT_EQ(colourAt(picture, 230, 4), 0x000000u) << "the strip along the top";
        EXPECT_EQ(colourAt(picture, 8, 40), 0x404040u) << "the background";
        EXPECT_EQ(colourAt(picture, barEnds[i] - 1, 36), i == 0 ? 0x404040u : 0x808080u)
            << names[i] << ": the bar's last column";
        EXPECT_EQ(colourAt(picture, barEnds[i], 36), i == 2 ? 0x404040u : 0x000000u)
            << names[i] << ": the track after the bar";
    }
    int labelPixels = 0;
    for (int y = 16; y < 33; ++y) {
        for (int x = 16; x < 441; ++x) {
            labelPixels += colourAt(recorder.pictures[0], x, y) == 0xC0C0C0u;
        }
    }
    EXPECT_GT(labelPixels, 100) << "the label in light grey";
}

// Whatever goes wrong, one line says what and where, nothing else changes, and the game starts.
TEST_F(Updater, AFailureLogsOneLineChangesNothingAndStartsTheGame) {
    const std::string signedEnd = signedList({}, {}, testKey());
    // The setup file's third line, the remote version list, the problem line's start.
    const std::tuple<const char*, std::string, std::string> cases[] = {
        {"maybe", signedEnd, "not a switch : P/game setup.txt line 3 (online) : \"maybe\""},
        {"true", "", "download failed : B/client_inf.dat"},
        {"true", signedEnd, "no version before END : B/client_inf.dat"},
        {"true", signedList({"11028", "x"}, {}, testKey()),
         "not a version number : line 2 of B/client_inf.dat : \"x\""},
        {"true", signedList({"70000"}, {}, testKey()),
         "not a version number : line 1 of B/client_inf.dat : \"70000\""},
        {"true", signedList({"11028"}, {}, testKey()), "download failed : B/list/list_11028.dat"},
    };
    for (const auto& [online, versions, problem] : cases) {
        const UpdaterFolder folder(online, "11026");
        client.clear();
        if (!versions.empty()) {
            client["client_inf.dat"] = versions;
        }
        const std::string before = folderDigest(folder.path());
        recorder = {};
        EXPECT_EQ(run(), 0);
        EXPECT_TRUE(log(folder).ends_with(placed(problem + "\nrunning client\n", folder)))
            << log(folder);
        std::filesystem::remove(folder.file("client_log.txt"));
        EXPECT_EQ(folderDigest(folder.path()), before) << problem;
        EXPECT_EQ(recorder.started, std::vector<std::string>{"patch.dat"});
    }
}

} // namespace
} // namespace vastorim::test
