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

TEST_F(Updater, AFirstStartAsksOnceWritesTheNineLinesAndAnsweredNoGoesNowhere) {
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
        EXPECT_EQ(recorder.questions, 1);
        EXPECT_EQ(recorder.started, std::vector<std::string>{"patch.dat"});
    }
    EXPECT_EQ(requests().size(), 2u) << "only the two runs that were allowed asked";
}

TEST_F(Updater, ASetupFileThatSaysOfflineAsksNothingAndFetchesNothing) {
    install("False", "11026");
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(recorder.questions, 0);
    EXPECT_TRUE(requests().empty());
    EXPECT_FALSE(fs::exists(game.file("client_log.txt")));
    EXPECT_EQ(recorder.started, std::vector<std::string>{"patch.dat"});
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
    EXPECT_EQ(requests(), (std::vector<std::string>{"client_inf.dat", "list/list_11028.dat",
                                                    "list/list_11027.dat", "effects/new effect.txt",
                                                    "notes.txt", "readme.txt", "notes.txt"}))
        << "a file named in two lists comes twice";
    EXPECT_EQ(folderEntries(game.path()),
              (std::vector<std::string>{"client_inf.dat", "client_log.txt", "effects",
                                        "game setup.txt", "notes.txt", "readme.txt"}));
    EXPECT_EQ(recorder.started, std::vector<std::string>{"patch.dat"});
    std::string expected = R"(initialisation complete
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
    // B/ stands for the update directory's address, P/ for the program folder.
    for (const auto& [placeholder, value] :
         {std::pair{"B/", server->base() + "/client/"}, std::pair{"P/", game.path() + "/"}}) {
        for (std::size_t at = 0; (at = expected.find(placeholder, at)) != std::string::npos;
             at += value.size()) {
            expected.replace(at, 2, value);
        }
    }
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
