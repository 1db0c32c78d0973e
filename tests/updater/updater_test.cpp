// The updater's steps in their order against the reference server: consent, the log, the
// version lists, the files, the window and the launcher.
#include "engine/startup.h"
#include "update_fixture.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace vastorim::test {
namespace {

TEST(StartUp, EveryCommandLineButExactlyRunGoesToTheUpdater) {
    EXPECT_EQ(joinedCommandLine({"", "log_on", "x"}), " log_on x");
    for (const char* commandLine : {"", "Run", "RUN", " run", "run ", "log_on", "run run"}) {
        EXPECT_EQ(updaterRuns(commandLine), !isDevelopmentRun()) << '"' << commandLine << '"';
    }
    EXPECT_FALSE(updaterRuns("run"));
}

using Updater = UpdaterTest;

TEST_F(Updater, AFirstStartAsksOnceWritesTheNineLinesAndAnsweredNoOrOfflineGoesNowhere) {
    // The box's answer, VASTORIM_CONSENT (nullptr: unset), the third line written.
    const std::tuple<std::optional<bool>, const char*, const char*> cases[] = {
        {false, nullptr, "false"},
        {true, "no", "true"},
        {std::nullopt, "yes", "true"},
        {std::nullopt, "YES", "false"},
        {std::nullopt, nullptr, "false"}};
    for (const auto& [answer, environment, third] : cases) {
        fs::remove(game.file("game setup.txt"));
        recorder = {};
        recorder.answer = answer;
        if (environment != nullptr) {
            setenv("VASTORIM_CONSENT", environment, 1);
        }
        EXPECT_EQ(run(), 0);
        unsetenv("VASTORIM_CONSENT");
        EXPECT_EQ(readFile(game.file("game setup.txt")),
                  "true\r\nfalse\r\n" + std::string(third) +
                      "\r\n1\r\nup\r\ndown\r\nleft\r\nright\r\nspace\r\n");
        EXPECT_EQ(std::tuple(recorder.questions, recorder.started),
                  std::tuple(1, std::vector<std::string>{"patch.dat"}));
    }
    EXPECT_EQ(requests().size(), 2u) << "only the two runs that were allowed asked";

    // A setup file that says offline: no question, no request and no log.
    install("False", "11026");
    fs::remove(game.file("client_log.txt"));
    recorder = {};
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(std::tuple(recorder.questions, requests().size(), recorder.started),
              std::tuple(0, 2u, std::vector<std::string>{"patch.dat"}));
    EXPECT_FALSE(fs::exists(game.file("client_log.txt")));
}

TEST_F(Updater, From11026To11028TheNewerListsAndTheirFilesComeInOrderAndTheLogSaysEachStep) {
    install("true", "11026");
    release.write("readme.txt", "r");
    publish("--version 11026 readme.txt");
    release.write("notes.txt", "v1");
    publish("--version 11027 readme.txt notes.txt");
    release.write("effects/new effect.txt", "hello");
    release.write("notes.txt", "v2");
    publish("--version 11028 \"effects/new effect.txt\" notes.txt");
    EXPECT_EQ(run(" log_on  "), 0);

    EXPECT_EQ(readFile(game.file("client_inf.dat")), "11028\r\n");
    EXPECT_EQ(folderEntries(game.path()),
              (std::vector<std::string>{"client_inf.dat", "client_log.txt", "effects",
                                        "game setup.txt", "notes.txt", "readme.txt"}));
    EXPECT_EQ(recorder.started, std::vector<std::string>{"patch.dat"});
    // One download's lines, from the update directory into the program folder.
    const auto download = [&](const std::string& from, const std::string& to,
                              const char* folderMade = "") {
        return "download start : " + server->base() + "/client/" + from + "," + game.path() + "/" +
               to + "\n" + folderMade + "folder found\ndownload complete\n";
    };
    const auto list = [&](const std::string& version, const std::string& first,
                          const std::string& second) {
        return "downloading list : " + version + "\n" +
               download("list/list_" + version + ".dat", "temp/list_" + version + ".dat") +
               "reading list file : " + version + "\nline read : " + first +
               "\nadding to list\nline read : " + second +
               "\nadding to list\nline read : END\nlist read complete\n";
    };
    const std::string expected =
        "initialisation complete\nlocal version : 11026\ntemp folder doesn't exist, creating\n"
        "temp folder found\n" +
        download("client_inf.dat", "temp/client_inf.dat") +
        "reading remote version list\nline read : 11028\nline read : 11027\nline read : 11026\n"
        "line read : END\ntemporary folder deleted\nremote version : 11028\nupdate needed\n"
        "Updating Client : 1.10.26 -> 1.10.28\nno temporary folder exists, creating\n"
        "temp folder found\ntotal lists : 2\n" +
        list("11028", "effects/new effect.txt", "notes.txt") +
        list("11027", "readme.txt", "notes.txt") + "temporary folder removed\n" +
        download("effects/new%20effect.txt", "~update/new/effects/new effect.txt",
                 "no folder exists, creating\n") +
        download("notes.txt", "~update/new/notes.txt") +
        download("readme.txt", "~update/new/readme.txt") +
        download("notes.txt", "~update/new/notes.txt") + "running client\n";
    EXPECT_EQ(log(), expected);
}

TEST_F(Updater, EqualVersionsOpenNoWindowAndFetchNoFileButMakeAndRemoveTheTempFolder) {
    install("true", "11026");
    release.write("readme.txt", "r");
    publish("--version 11026 readme.txt");
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(requests(), std::vector<std::string>{"client_inf.dat"});
    EXPECT_TRUE(recorder.pictures.empty()) << "no window";
    EXPECT_NE(log().find("temp folder doesn't exist, creating\ntemp folder found\n"),
              std::string::npos);
    EXPECT_TRUE(log().ends_with("deleted\nremote version : 11026\nrunning client\n")) << log();
    EXPECT_FALSE(fs::exists(game.file("temp")));
}

TEST_F(Updater, OnlyLogOnWithSpacesAroundItTurnsTheLogOnAndOtherwiseTheLogIsUntouched) {
    install("true", "11026");
    for (const auto& [commandLine, on] : {std::pair{"  log_on ", true},
                                          {"log_on", true},
                                          {"LOG_ON", false},
                                          {"", false},
                                          {"log_on x", false}}) {
        game.write("client_log.txt", "an old log\r\n");
        run(commandLine);
        EXPECT_EQ(readFile(game.file("client_log.txt")) == "an old log\r\n", !on) << commandLine;
    }
}

TEST_F(Updater, ThreeFilesGiveAnEmptyAHalfAndAFullBarOnTheWindowsPicture) {
    install("true", "11026");
    fs::create_directory(game.file("graphics"));
    fs::copy(VASTORIM_PROGRAM_DIR "/graphics/updater.ttf", game.file("graphics/updater.ttf"));
    for (const char* name : {"a", "b", "c"}) {
        release.write(name, name);
    }
    publish("--version 11027 a b c");
    run();
    // The first paint shows the label before any file; then one paint after each file.
    ASSERT_EQ(recorder.pictures.size(), 4u);
    const auto colourAt = [](const platform::Picture& picture, int x, int y) {
        return picture.pixels.at(static_cast<std::size_t>(y * picture.width + x)) & 0xFFFFFF;
    };
    const std::tuple<const char*, int> bars[] = {{"empty", 0}, {"half", 212}, {"full", 425}};
    for (std::size_t i = 0; i < 3; ++i) {
        const auto& [name, width] = bars[i];
        const platform::Picture& picture = recorder.pictures[i + 1];
        std::string problem;
        ASSERT_TRUE(platform::writePicture(VASTORIM_TEST_OUTPUT_DIR "/update-window-" +
                                               std::string(name) + ".png",
                                           picture, problem))
            << problem;
        ASSERT_EQ(std::pair(picture.width, picture.height), std::pair(465, 57));
        EXPECT_EQ(colourAt(picture, 230, 4), 0x000000u) << "the strip along the top";
        EXPECT_EQ(colourAt(picture, 8, 40), 0x404040u) << "the background";
        EXPECT_EQ(colourAt(picture, 15 + width, 36), width == 0 ? 0x404040u : 0x808080u) << name;
        EXPECT_EQ(colourAt(picture, 16 + width, 36), width == 425 ? 0x404040u : 0x000000u) << name;
    }
    int label = 0;
    for (int y = 16; y < 33; ++y) {
        for (int x = 16; x < 441; ++x) {
            label += colourAt(recorder.pictures[0], x, y) == 0xC0C0C0u;
        }
    }
    EXPECT_GT(label, 100) << "the label in light grey";
}

} // namespace
} // namespace vastorim::test
