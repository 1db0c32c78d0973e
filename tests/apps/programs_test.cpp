// The programs as they run: whole games through vastorim-sim (scripted keys, the demo pilot and
// their replays), vastorim-sim and vastorim-fx on a small program folder of their own, and the
// game in a real window.
#include "engine/font.h"
#include "engine/platform_access.h"
#include "engine/renderer.h"
#include "platform/platform.h"
#include "platform/video.h"
#include "support/loopback_server.h"
#include "support/running_server.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <stdexcept>
#include <thread>
#include <tuple>

namespace vastorim::test {
namespace {

// The shell command running vastorim-sim on a program folder (the build's by default).
std::string simCommand(const std::vector<std::string>& arguments,
                       const std::string& data = VASTORIM_PROGRAM_DIR) {
    std::string command = "'" VASTORIM_PROGRAM_DIR "/vastorim-sim' --data '" + data + "'";
    for (const std::string& argument : arguments) {
        command += " '" + argument + "'";
    }
    return command;
}

// One line of the trace, the flat JSON the sim writes; for the ship fields, the first ship's
// value is given.
struct TraceFrame {
    // The field's value as written, a text without its quotes.
    std::string text(const std::string& field) const {
        const std::string key = "\"" + field + "\":";
        const std::size_t at = line.find(key);
        if (at == std::string::npos) {
            throw std::runtime_error("no field " + field + " in " + line);
        }
        const std::size_t start = at + key.size();
        if (line[start] == '"') {
            return line.substr(start + 1, line.find('"', start + 1) - start - 1);
        }
        return line.substr(start, line.find_first_of(",}]", start) - start);
    }
    double number(const std::string& field) const { return std::stod(text(field)); }
    bool flag(const std::string& field) const { return text(field) == "true"; }
    std::string line;
};

struct SimRun {
    CommandResult result;
    std::vector<TraceFrame> trace;
};

// Plays the build's game with the key script (none when empty), tracing every frame into
// `folder`, which also receives any screenshots.
SimRun play(const TempFolder& folder, const std::string& keys, std::vector<std::string> arguments) {
    if (!keys.empty()) {
        arguments.insert(arguments.end(), {"--input", folder.write("keys.txt", keys)});
    }
    arguments.insert(arguments.end(),
                     {"--trace", folder.file("trace.jsonl"), "--out", folder.path()});
    SimRun run{runCommand(simCommand(arguments)), {}};
    std::ifstream file(folder.file("trace.jsonl"));
    for (std::string line; std::getline(file, line);) {
        run.trace.push_back({line});
    }
    return run;
}

constexpr int frameMs = 16; // the sim's default

// A run without drawing, on seed 7 unless the options, which come later, name another.
SimRun playFor(long frames, const std::string& keys, std::vector<std::string> options = {}) {
    const TempFolder folder;
    options.insert(options.begin(),
                   {"--no-render", "--frames", std::to_string(frames), "--seed", "7"});
    return play(folder, keys, options);
}

TEST(ScriptedPlay, EscapePausesAndReturnResumesWithoutCountingThePause) {
    const SimRun run = playFor(400, "10 press return\n200 press escape\n300 press return\n");
    ASSERT_EQ(run.trace.size(), 400u) << run.result.err;
    EXPECT_EQ(run.trace[10].number("gameMode"), 0);
    EXPECT_EQ(run.trace[11].number("gameMode"), 1);
    EXPECT_EQ(run.trace[200].number("elapsed"), 190 * frameMs);
    EXPECT_TRUE(run.trace[201].flag("gamePaused") && run.trace[300].flag("gamePaused"));
    EXPECT_EQ(run.trace[301].number("gameMode"), 1);
    EXPECT_FALSE(run.trace[301].flag("gamePaused"));
    EXPECT_EQ(run.trace[301].number("elapsed"), 191 * frameMs);
}

// The same game played with the keys and with a pad: the pad starts it with A, steers with the
// stick and the d-pad (a stick wavering within its hysteresis or resting in its dead zone presses
// nothing), fires with A, pauses with Start, moves in the menu and resumes with A.
TEST(ScriptedPlay, APadPlaysTheGameExactlyAsTheKeysDo) {
    const char* const keys = "10 press return\n30 down up\n40 down space\n60 up up\n"
                             "70 down left\n90 up left\n150 up space\n200 press escape\n"
                             "220 press down\n230 press up\n240 press return\n"
                             "260 down right\n280 up right\n";
    const char* const pad =
        "10 pad 1 button a 1\n11 pad 1 button a 0\n30 pad 1 axis lefty -20000\n"
        "40 pad 1 button a 1\n45 pad 1 axis lefty -9000\n50 pad 1 axis lefty -17000\n"
        "60 pad 1 axis lefty -3000\n65 pad 1 axis leftx 7000\n70 pad 1 button dpleft 1\n"
        "75 pad 1 axis leftx -20000\n90 pad 1 button dpleft 0\n90 pad 1 axis leftx 0\n"
        "150 pad 1 button a 0\n200 pad 1 button start 1\n201 pad 1 button start 0\n"
        "220 pad 1 button dpdown 1\n221 pad 1 button dpdown 0\n230 pad 1 axis lefty -32768\n"
        "231 pad 1 axis lefty 0\n240 pad 1 button a 1\n241 pad 1 button a 0\n"
        "260 pad 1 axis leftx 32767\n280 pad 1 axis leftx 100\n";
    const TempFolder keyFolder, padFolder;
    const std::vector<std::string> options = {"--no-render", "--frames", "300", "--seed", "5"};
    const SimRun byKeys = play(keyFolder, keys, options);
    const SimRun byPad = play(padFolder, pad, options);
    ASSERT_EQ(byPad.trace.size(), 300u) << byPad.result.err;
    EXPECT_EQ(readFile(keyFolder.file("trace.jsonl")), readFile(padFolder.file("trace.jsonl")));
    EXPECT_EQ(byPad.trace[11].number("gameMode"), 1);
    EXPECT_NE(byPad.trace[90].number("angle"), byPad.trace[70].number("angle"));
    EXPECT_TRUE(byPad.trace[201].flag("gamePaused"));
    EXPECT_EQ(byPad.trace[221].number("menuCursor"), 1);
    EXPECT_EQ(byPad.trace[241].number("gameMode"), 1);
}

// The window's own keys and its focus, headless: losing the focus pauses the game for good, and
// the Return of Alt+Return switches full screen without selecting in the menu.
TEST(ScriptedPlay, LosingTheFocusPausesUntilThePlayerResumesAndAltReturnIsTheWindows) {
    const SimRun run = playFor(170, "10 press return\n100 unfocus\n120 down alt\n"
                                    "121 press return\n123 up alt\n150 press return\n");
    ASSERT_EQ(run.trace.size(), 170u) << run.result.err;
    EXPECT_FALSE(run.trace[100].flag("gamePaused"));
    EXPECT_TRUE(run.trace[101].flag("gamePaused"));
    EXPECT_EQ(run.trace[101].number("gameMode"), 0);
    EXPECT_TRUE(run.trace[150].flag("gamePaused")) << "resumed by itself or by Alt+Return";
    EXPECT_EQ(run.trace[151].number("gameMode"), 1);
    EXPECT_EQ(run.trace[151].number("elapsed"), run.trace[100].number("elapsed") + frameMs);
}

// A game left alone ends when the asteroids have worn the ship down; frames of 50 ms make that
// quick, and the same seed replays the same game, so a script can act around its end.
class GameOver : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        for (const TraceFrame& frame :
             playFor(10000, "0 press return\n", {"--frame-ms", "50"}).trace) {
            if (frame.number("finalTime") != 0) {
                death = static_cast<long>(frame.number("frame"));
                break;
            }
        }
    }
    void SetUp() override { ASSERT_GT(death, 0) << "the ship survived"; }
    // The same game, with key presses at frames counted from its end.
    static SimRun playAfterDeath(long frames, const std::vector<std::pair<long, const char*>>& keys,
                                 std::vector<std::string> options = {}) {
        std::string script = "0 press return\n";
        for (const auto& [offset, key] : keys) {
            script += std::to_string(death + offset) + " press " + key + "\n";
        }
        options.insert(options.end(), {"--frame-ms", "50"});
        return playFor(death + frames, script, options);
    }
    static inline long death = -1;
};

TEST_F(GameOver, TheClockStopsWhileTheWorldFadesAndEscapeThenLeavesTheGameForGood) {
    const SimRun run = playAfterDeath(60, {{40, "escape"}});
    const double finalTime = run.trace[death].number("finalTime");
    const TraceFrame& fading = run.trace[death + 40];
    EXPECT_EQ(fading.number("gameMode"), 1);
    EXPECT_EQ(fading.number("elapsed"), finalTime);
    EXPECT_NEAR(fading.number("globalFade"), run.trace[death].number("globalFade") - 0.2, 0.01)
        << "0.1 a second";
    const TraceFrame& menu = run.trace[death + 41];
    EXPECT_EQ(menu.number("gameMode"), 0);
    EXPECT_EQ(menu.number("menuScreen"), 0);
    EXPECT_FALSE(menu.flag("gamePaused"));
    EXPECT_EQ(menu.number("globalFade"), 1);
    EXPECT_EQ(menu.number("musicFrequency"), 22000);
    EXPECT_EQ(run.trace[death + 59].number("elapsed"), finalTime);
}

// The same game offline and online against the real server. Return does nothing on the
// untouched default name and takes a changed one to the high scores; offline nothing is asked;
// online each request finishes before the next frame, so the place in the server's table shows
// one frame after the game ends, and the name typed reaches the table.
TEST_F(GameOver, ReturnTakesAChangedNameOnlineToTheServersTableThatPlacedTheTime) {
    const TempFolder folder;
    RunningServer server(folder);
    for (const auto& [name, score] : {std::pair("FAST", 999999), {"FASTER", 999998}, {"SLOW", 1}}) {
        ASSERT_EQ(server.get(submitTarget(name, score)).status, 200);
    }
    setenv("VASTORIM_SERVER", server.base().c_str(), 1);
    const std::vector<std::pair<long, const char*>> keys = {
        {2, "return"}, {4, "backspace"}, {6, "return"}};
    const SimRun offline = playAfterDeath(10, keys);
    const SimRun run = playAfterDeath(10, keys, {"--online"});
    unsetenv("VASTORIM_SERVER");
    ASSERT_EQ(offline.trace.size(), static_cast<std::size_t>(death + 10)) << offline.result.err;
    EXPECT_EQ(offline.trace[death + 3].number("gameMode"), 1) << "Return on the default";
    const TraceFrame& after = offline.trace[death + 7];
    EXPECT_EQ(after.text("playerName"), "playe");
    EXPECT_EQ(std::tuple(after.number("gameMode"), after.number("menuScreen"),
                         after.number("globalFade"), after.number("scorePlace")),
              std::tuple(0, 1, 1, -1));
    ASSERT_EQ(run.trace.size(), offline.trace.size()) << run.result.err;
    EXPECT_EQ(run.trace[death].number("scorePlace"), -1) << "the reply is on its way";
    EXPECT_EQ(run.trace[death + 1].number("scorePlace"), 3);
    EXPECT_EQ(run.trace[death + 7].number("menuScreen"), 1);
    const std::string table = "GET /highscores.php 200", submission = "GET /submit.php 200";
    EXPECT_EQ(server.requests(), (std::vector<std::string>{submission, submission, submission,
                                                           table, table, submission, table}))
        << "three made here, none offline, and the game's four";
    const long score = std::lrint(run.trace[death].number("finalTime") * 0.1);
    EXPECT_EQ(server.table(), "1|999999|FAST|2|999998|FASTER|3|" + std::to_string(score) +
                                  "|PLAYE|4|1|SLOW" + std::string(18, '|') + "\n");
    EXPECT_FALSE(std::filesystem::exists(VASTORIM_PROGRAM_DIR "/~tmp"));
}

// The demo pilot starts a game at once and plays it for two minutes.
TEST(DemoGame, ThePilotLastsAMinuteAt28000HzCollectsPickupsAndWeaponsFireOnlyOnTheirFlags) {
    const SimRun run = playFor(7200, "", {"--demo", "--seed", "1"});
    ASSERT_EQ(run.result.status, 0) << run.result.err;
    ASSERT_EQ(run.trace.size(), 7200u);
    const auto weaponLevels = [](const TraceFrame& frame) {
        return frame.number("w1") + frame.number("w2") + frame.number("w3");
    };
    bool lastedAMinute = false;
    int raises = 0, volleys = 0, halfBeatVolleys = 0;
    for (std::size_t i = 1; i < run.trace.size(); ++i) {
        const TraceFrame &frame = run.trace[i], &before = run.trace[i - 1];
        if (frame.number("elapsed") == 60000 && frame.number("finalTime") == 0) {
            lastedAMinute = true;
            EXPECT_NEAR(frame.number("musicFrequency"), 28000, 2) << "the tempo after a minute";
        }
        if (frame.number("gameMode") != 1 || before.number("gameMode") != 1) {
            continue;
        }
        if (weaponLevels(frame) == weaponLevels(before) + 1) {
            ++raises;
            EXPECT_EQ(frame.number("pickups"), before.number("pickups") - 1) << "frame " << i;
        }
        if (frame.number("shots") > before.number("shots")) {
            const bool first = frame.flag("beat") && frame.number("w1") > 0;
            const bool second = frame.flag("halfBeat") && frame.number("w2") > 0;
            const bool third = frame.flag("twoBeat") && frame.number("w3") > 0;
            EXPECT_TRUE(first || second || third) << "frame " << i;
            ++volleys;
            halfBeatVolleys += second && !frame.flag("beat");
        }
    }
    EXPECT_TRUE(lastedAMinute);
    EXPECT_GT(raises, 0);
    EXPECT_GT(volleys, 20);
    EXPECT_GT(halfBeatVolleys, 0) << "weapon 2 never fired between beats";
}

TEST(DemoReplay, SameSeedAndScriptGiveTheSameTraceAndPictures) {
    TempFolder first, second;
    for (const TempFolder* folder : {&first, &second}) {
        const SimRun run =
            play(*folder, "40 press escape\n",
                 {"--demo", "--frames", "100", "--seed", "3", "--screenshot-at", "30", "41", "99"});
        ASSERT_EQ(run.result.status, 0) << run.result.err;
        ASSERT_EQ(run.trace.size(), 100u);
        EXPECT_TRUE(run.trace[41].flag("gamePaused"));
    }
    EXPECT_EQ(readFile(first.file("trace.jsonl")), readFile(second.file("trace.jsonl")));
    for (const char* picture : {"frame-000030.png", "frame-000041.png", "frame-000099.png"}) {
        const std::string bytes = readFile(first.file(picture));
        EXPECT_GT(bytes.size(), 1000u) << picture;
        EXPECT_EQ(bytes, readFile(second.file(picture))) << picture;
    }
}

bool has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// One picture, no effect, and an effect file of two types with a warning each.
class Tools : public ::testing::Test {
  protected:
    void SetUp() override {
        writeProgramFolder(data, {"Dot.png", "END"}); // listed with a capital
        writeFile(data + "/effects/effect list.txt", "END\r\n");
    }
    CommandResult sim(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), {"--out", out.path()});
        return runCommand(simCommand(arguments, data));
    }
    static CommandResult fx(const std::string& arguments) {
        return runCommand("'" VASTORIM_PROGRAM_DIR "/vastorim-fx' " + arguments);
    }
    TempFolder folder, out;
    const std::string data = folder.file("data");
    const std::string good = folder.write(
        "good.txt",
        "spark,1:0|255,1:0|255,1:0|255,2:0|255:1|0,1:0|4,1:0|4,1:0|rnd(-9&9),1:0|0,1:0|0,"
        "Dot.png,3,1,0,0,1,0,0\r\n"
        "ring,1:0|255,1:0|255,1:0|255,1:0|255,2:0|8:1|30,2:1|8:0|4,1:0|0,1:0|0,1:0|0,ring.png,1,"
        "0,0,0,1,0,0\r\nEND\r\nanything, after END\r\n");
};

TEST_F(Tools, SimWritesTheScreenshotsAskedForAt1024By768AndSummarises) {
    const auto result = sim({"--frames", "7", "--frame-ms", "10", "--screenshot-at", "1", "6", "9",
                             "--screenshot-every", "3"});
    ASSERT_EQ(result.status, 0) << result.err;
    for (const char* shot : {"frame-000000.png", "frame-000001.png", "frame-000003.png"}) {
        EXPECT_TRUE(std::filesystem::exists(out.file(shot))) << shot;
    }
    using Files = std::filesystem::directory_iterator;
    EXPECT_EQ(std::distance(Files(out.path()), Files()), 4) << "and frame 6, read below";
    const platform::Picture shot = readPng(out.file("frame-000006.png"));
    EXPECT_EQ(std::pair(shot.width, shot.height), std::pair(1024, 768));
    EXPECT_EQ(result.out, "vastorim-sim: 7 frames, virtual time 70 ms, 0 draw calls in the last "
                          "frame\n");
    const auto blind = sim({"--frames", "2", "--no-render", "--out", out.file("unused")});
    EXPECT_EQ(blind.status, 0) << blind.err;
    EXPECT_FALSE(std::filesystem::exists(out.file("unused"))) << "nothing to put there";
}

TEST_F(Tools, F12SavesEachShotUnderItsOwnTimeStampedNameInTheProgramFolder) {
    const auto result =
        sim({"--frames", "4", "--input", folder.write("keys.txt", "1 press f12\n2 press f12\n")});
    ASSERT_EQ(result.status, 0) << result.err;
    const std::vector<std::string> shots = folderEntries(data + "/screenshots");
    ASSERT_EQ(shots.size(), 2u) << "two shots, one within a second of the other";
    for (const std::string& shot : shots) {
        EXPECT_TRUE(std::regex_match(shot, std::regex(R"(vastorim-\d{8}-\d{6}(-2)?\.png)")))
            << shot;
        const platform::Picture picture = readPng(data + "/screenshots/" + shot);
        EXPECT_EQ(std::pair(picture.width, picture.height), std::pair(1024, 768));
    }
}

TEST_F(Tools, SimEndsOnAMissingPictureWithOneErrorLineNamingTheFile) {
    writeFile(data + "/graphics/resource list.txt", "Dot.png\r\nlost.png\r\nEND\r\n");
    const auto result = sim({"--frames", "3", "--trace", folder.write("trace.jsonl", "old")});
    EXPECT_EQ(readFile(folder.file("trace.jsonl")), "old") << "the failed run's trace is dropped";
    EXPECT_EQ(folderEntries(folder.path()).size(), 3u) << "data, good.txt and the old trace";
    EXPECT_NE(result.status, 0);
    const std::string err = "\n" + result.err;
    EXPECT_TRUE(has(err, "\nvastorim: " + data + "/graphics/lost.png")) << err;
    EXPECT_EQ(err.find("\nvastorim: "), err.rfind("\nvastorim: ")) << "one error line";
    EXPECT_TRUE(std::filesystem::is_empty(out.path()));
}

TEST_F(Tools, FxCheckReportsEveryFileItsWarningsAndEveryBrokenLineWithItsField) {
    const std::string bad = folder.write(
        "bad.txt", "a,1:0|255,1:0|255\n"
                   "b,1:0|1,1:0|1,1:0|1,1:0|1,1:0|1,1:0|1,1:0|1,1:0|1,1:0|1,t,x,0,0,0,1,0,0\n"
                   "c,1:0|1,1:0|1,1:0|1,1:0|1,1:0|1,1:0|1,1:0|1,1:0|1,1:0|1,t,1,0,0,0,1,0,q\n");
    const auto result = fx("check --data '" + data + "' '" + good + "' '" + bad + "' '" +
                           folder.file("none.txt") + "'");
    EXPECT_EQ(result.status, 1);
    for (const std::string& line :
         {good + ": ok (2 particle types)",
          good + ":2: field 6 (sizeY): warning: keys out of time order",
          good + ":2: field 10 (texture): warning: the resource list has no texture \"ring.png\"",
          bad + ":1: field 3 (colourB): missing",
          bad + ":2: field 11 (spawnCount): \"x\" is not a number", bad + ":3: field 17 (y): ",
          bad + ": warning: no \"END\" line", folder.file("none.txt")}) {
        EXPECT_TRUE(has(result.out, line)) << line << "\n" << result.out;
    }
    EXPECT_FALSE(has(result.out, "\"Dot.png\"")) << "found lower-cased";
    EXPECT_FALSE(has(result.out, bad + ": ok"));

    const std::string odd = folder.write(
        "odd.txt", "w,2:0|1:0|2,1:0|1:5|2,1:nan|1,1:0|1,1:0|1,1:0|1,1:0|1,1:0|1,1:0|1,dot.png,1,"
                   "0,0,0,1,0,0,extra\r\nEND\r\n");
    const auto warned = fx("check '" + odd + "'");
    for (const char* line :
         {":1: field 1 (colourR): warning: key 2 shares the time 0 s",
          ":1: field 2 (colourG): warning: the key count says 1 but 2 keys are given",
          ":1: field 3 (colourB): warning: key 1 has the time nan",
          ":1: field 18: warning: the line has 19 fields"}) {
        EXPECT_TRUE(has(warned.out, odd + line)) << line << "\n" << warned.out;
    }
    const auto whole = fx("check --data '" + data + "'");
    EXPECT_EQ(whole.status, 1);
    EXPECT_TRUE(has(whole.out, data + "/effects/effect list.txt: the game spawns \"player.txt\""))
        << whole.out;
}

TEST_F(Tools, FxRenderReadsTheFileAsTheGameDoes) {
    const std::string render =
        "render --data '" + data + "' --out '" + folder.file("out.png") + "' --at 0.25 --rng 3 ";
    const auto drawn = fx(render + "'" + good + "'");
    EXPECT_EQ(drawn.status, 0) << drawn.err;
    const platform::Picture picture = readPng(folder.file("out.png"));
    EXPECT_EQ(std::pair(picture.width, picture.height), std::pair(1024, 768));
    const auto broken = fx(render + "'" + folder.write("fx.txt", "x,1\nEND\n") + "'");
    EXPECT_EQ(broken.status, 1);
    EXPECT_TRUE(has(broken.err, folder.file("fx.txt") + ":1: field 2 (colourG)")) << broken.err;
    for (const char* rng : {"1e300", "inf", "nan", "-2147483649"}) {
        const auto refused = fx("eval --rng " + std::string(rng) + " 1");
        EXPECT_EQ(refused.status, 2);
        EXPECT_TRUE(has(refused.err, "--rng " + std::string(rng) + " is not")) << refused.err;
    }
}

// An xwd window picture (32 bits a pixel) as the game's pictures are held, opaque; width 0 when
// the bytes are no such picture.
platform::Picture windowPicture(const std::string& path) {
    const std::string xwd = readFile(path);
    const auto byte = [&](std::size_t at) { return static_cast<unsigned char>(xwd[at]); };
    const auto field = [&](std::size_t index) {
        return byte(index * 4) << 24 | byte(index * 4 + 1) << 16 | byte(index * 4 + 2) << 8 |
               byte(index * 4 + 3);
    };
    if (xwd.size() < 100 || field(11) != 32) {
        return {};
    }
    const std::uint32_t width = field(4), height = field(5), bytesPerLine = field(12);
    const bool lsbFirst = field(7) == 0; // B G R x; else x R G B
    const std::size_t start = field(0) + field(19) * 12;
    if (xwd.size() < start + std::size_t{bytesPerLine} * height) {
        return {};
    }
    platform::Picture picture{static_cast<int>(width), static_cast<int>(height), {}};
    for (std::size_t y = 0; y < height; ++y) {
        for (std::size_t x = 0; x < width; ++x) {
            const std::size_t at = start + y * bytesPerLine + x * 4;
            const auto [r, g, b] = lsbFirst ? std::tuple(byte(at + 2), byte(at + 1), byte(at))
                                            : std::tuple(byte(at + 1), byte(at + 2), byte(at + 3));
            picture.pixels.push_back(0xff000000 | std::uint32_t{r} << 16 | g << 8 | b);
        }
    }
    return picture;
}

bool white(std::uint32_t argb) {
    return (argb >> 16 & 0xff) > 200 && (argb >> 8 & 0xff) > 200 && (argb & 0xff) > 200;
}
bool lit(std::uint32_t argb) {
    return (argb & 0xffffff) != 0;
}

// The pixels that pass the test in a box of picture pixels (right and bottom excluded).
int countPixels(const platform::Picture& picture, int left, int top, int right, int bottom,
                bool (*test)(std::uint32_t)) {
    int count = 0;
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            count += test(picture.pixels[static_cast<std::size_t>(y) * picture.width + x]);
        }
    }
    return count;
}

// A box of the game's 1024 x 768 surface: left, top, right, bottom.
using Box = std::array<int, 4>;

// Which pixels of the box are white, row by row.
std::vector<bool> whiteIn(const platform::Picture& picture, Box box) {
    std::vector<bool> seen;
    for (int y = box[1]; y < box[3]; ++y) {
        for (int x = box[0]; x < box[2]; ++x) {
            seen.push_back(white(picture.pixels[static_cast<std::size_t>(y) * picture.width + x]));
        }
    }
    return seen;
}

// The same for `text` drawn in white at the top left of the box by the game's own text drawing,
// with the game's font, on the offscreen surface.
std::vector<bool> whiteInDrawnText(const std::string& text, Box box) {
    platform::Platform platform = platform::createHeadlessPlatform(16);
    platform.video->open();
    setCurrentPlatform(&platform);
    setCurrentVideo(platform.video.get());
    resetRenderState();
    installFont(VASTORIM_PROGRAM_DIR "/graphics/grapple.ttf");
    createGameFont();
    drawText(text, box[0], box[1], box[2], box[3], 0, packColour(255, 255, 255, 255));
    flushSprites();
    const platform::Picture drawn{platform::surfaceWidth, platform::surfaceHeight,
                                  platform.video->readPixels()};
    setCurrentVideo(nullptr);
    setCurrentPlatform(nullptr);
    return whiteIn(drawn, box);
}

// How every session on a display of its own starts ($1: the program folder, $2: a folder for the
// session): the X server, the shell in the program folder, and `findWindow NAME SECONDS`, which
// prints the first window of that name. Sessions are typed with xdotool and pictured with xwd;
// a step that fails ends one with its own status.
const char* const displayOfItsOwn = R"script(
# -noreset: the server would reset whenever its last client left, and refuse the next meanwhile.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$2/display" 2>/dev/null &
server=$!
trap 'kill $server' EXIT
trap 'exit 99' TERM
timeout 10 sh -c 'until [ -s "$0" ]; do sleep 0.1; done' "$2/display" || exit 8
export DISPLAY=":$(cat "$2/display")" SDL_AUDIODRIVER=dummy
cd "$1" || exit 9
# A search meets windows that SDL makes and destroys while it starts, and then fails: again.
findWindow() {
    timeout "$2" sh -c 'until xdotool search --name "$0"; do sleep 0.2; done' "$1" 2>/dev/null |
        head -n 1
}
)script";

// The session's script after the start above, with the program folder, the session's folder and
// `more` (shell words) as its arguments; ended after `seconds`.
CommandResult runSession(const std::string& script, int seconds, const std::string& programFolder,
                         const TempFolder& folder, const std::string& more = "") {
    return runCommand("timeout " + std::to_string(seconds) + " bash '" +
                      folder.write("session.sh", std::string(displayOfItsOwn) + script) + "' '" +
                      programFolder + "' '" + folder.path() + "' " + more);
}

// Sessions on a display of their own, where the tools for them are installed.
class RealWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        if (runCommand("{ command -v Xvfb && command -v xdotool && command -v xwd && command -v "
                       "xprop; } >/dev/null")
                .status != 0) {
            GTEST_SKIP() << "Xvfb, xdotool, xwd or xprop is not installed (scripts/setup.sh test "
                            "installs them)";
        }
    }
};

// A player's online session, pictured with xwd and xprop too ($3: the server, $4: its request
// log). The game runs from a copy of the program folder with the online switch on.
const char* const session = R"script(
mkdir "$2/game" && cp -r vastorim graphics effects sound "$2/game" || exit 9
sed '3s/.*/true/' "game setup.txt" >"$2/game/game setup.txt" || exit 9
VASTORIM_SERVER="$3" "$2/game/vastorim" run & game=$!
window=$(findWindow '^Vastorim$' 20)
[ -n "$window" ] || exit 10
xdotool windowfocus --sync "$window"; sleep 1
xwd -silent -id "$window" -out "$2/menu.xwd" || exit 11
xprop -id "$window" WM_CLASS _NET_WM_ICON > "$2/xprop.txt" || exit 11
xdotool key F11; sleep 0.5
xwininfo -id "$window" > "$2/full.txt" && xwd -silent -id "$window" -out "$2/full.xwd" || exit 11
xdotool key F12; sleep 0.3
xdotool key alt+Return; sleep 0.5
xwininfo -id "$window" > "$2/window.txt" || exit 11
xdotool key Return; sleep 0.5
xdotool keydown Up keydown space; sleep 2; xdotool keyup Up keyup space
xwd -silent -id "$window" -out "$2/play.xwd" || exit 12
xdotool windowfocus "$(xwininfo -root | awk '/Window id/ { print $4 }')"; sleep 0.5
xdotool windowfocus --sync "$window"; sleep 0.5
xwd -silent -id "$window" -out "$2/paused.xwd" || exit 12
kill -0 $game || exit 13
# Resume, and circle until the ship is destroyed: the game asks for the table again then.
xdotool key Return keydown Up keydown Left
timeout 300 sh -c 'until [ $(grep -c "GET /highscores.php" "$0") -ge 2 ]; do sleep 0.5; done' "$4" ||
    exit 14
xdotool keyup Up keyup Left
xdotool key BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace n o v a Return; sleep 12
xwd -silent -id "$window" -out "$2/scores.xwd" || exit 15
xdotool key Escape; sleep 0.5; xdotool key Escape
timeout 10 tail --pid=$game -f /dev/null || exit 16
wait $game
)script";

TEST_F(RealWindow, APlayerGoesFullScreenTakesAScreenshotIsPausedByTheFocusAndPlaysOnline) {
    const TempFolder folder, serverFolder;
    RunningServer server(serverFolder);
    const CommandResult played =
        runSession(session, 400, VASTORIM_PROGRAM_DIR, folder,
                   "'" + server.base() + "' '" + serverFolder.file("server.log") + "'");
    ASSERT_EQ(played.status, 0)
        << "8: no X server, 9: no program folder or copy of it, 10: no game window, 11, 12: no "
           "window property or picture, 13: the program ended in play, 14: no table request at "
           "the end of a game, 15: no picture, 16: Escape in the main menu did not end it, else "
           "its own status\n"
        << played.err;

    // The main menu in a window of the surface's size: the title in white in its band, no clock
    // in the corner (a drifting background spark may light a few pixels there; the clock lights
    // hundreds). The window's class and icon are set.
    const platform::Picture menu = windowPicture(folder.file("menu.xwd"));
    ASSERT_EQ(std::pair(menu.width, menu.height), std::pair(1024, 768));
    EXPECT_GT(countPixels(menu, 0, 180, 1024, 250, white), 100);
    EXPECT_LT(countPixels(menu, 20, 724, 200, 768, white), 100);
    const std::string properties = readFile(folder.file("xprop.txt"));
    EXPECT_TRUE(has(properties, "WM_CLASS(STRING) = \"vastorim\", \"vastorim\"")) << properties;
    EXPECT_TRUE(has(properties, "Icon (128 x 128)")) << properties.substr(0, 200);

    // F11: the window covers the display, and the surface is scaled by 1.25 to 1280 x 960 and
    // centred between two black bars of 32 rows. Alt+Return: back in the window where it was.
    const std::string full = readFile(folder.file("full.txt"));
    const std::string window = readFile(folder.file("window.txt"));
    for (const char* line :
         {"upper-left X:  0\n", "upper-left Y:  0\n", "Width: 1280\n", "Height: 1024\n"}) {
        EXPECT_TRUE(has(full, line)) << line << full;
    }
    for (const char* line : {"upper-left X:  67\n", "Width: 1024\n", "Height: 768\n"}) {
        EXPECT_TRUE(has(window, line)) << line << window;
    }
    const platform::Picture screen = windowPicture(folder.file("full.xwd"));
    ASSERT_EQ(std::pair(screen.width, screen.height), std::pair(1280, 1024));
    EXPECT_EQ(countPixels(screen, 0, 0, 1280, 32, lit), 0);
    EXPECT_EQ(countPixels(screen, 0, 992, 1280, 1024, lit), 0);
    EXPECT_GT(countPixels(screen, 0, 257, 1280, 345, white), 150) << "the title's band, scaled";

    // F12 saved the surface itself, 1024 x 768, menu title and all, in the program folder.
    const std::vector<std::string> shots = folderEntries(folder.file("game/screenshots"));
    ASSERT_EQ(shots.size(), 1u);
    const platform::Picture shot = readPng(folder.file("game/screenshots/" + shots[0]));
    EXPECT_EQ(std::pair(shot.width, shot.height), std::pair(1024, 768));
    EXPECT_GT(countPixels(shot, 0, 180, 1024, 250, white), 100);

    // In play: the survival clock in the lower left corner; once the window lost the focus, the
    // menu without it, still there after the focus came back.
    const platform::Picture playing = windowPicture(folder.file("play.xwd"));
    const platform::Picture paused = windowPicture(folder.file("paused.xwd"));
    ASSERT_EQ(playing.width, 1024);
    ASSERT_EQ(paused.width, 1024);
    EXPECT_GT(countPixels(playing, 20, 724, 200, 768, white), 300);
    EXPECT_LT(countPixels(paused, 20, 724, 200, 768, white), 100);
    EXPECT_GT(countPixels(paused, 0, 180, 1024, 250, white), 100);

    // The table at start-up, none sent on the pause, the table at the end, the name, the table.
    const std::string table = "GET /highscores.php 200";
    EXPECT_EQ(server.requests(),
              (std::vector<std::string>{table, table, "GET /submit.php 200", table}));
    EXPECT_NE(server.table().find("|NOVA|"), std::string::npos) << server.table();
    // The first row's name as the game draws it, pixel for pixel but for a stray spark. The
    // picture stays in the build's tests folder for a person to look at (xwud -in FILE).
    const std::string scoresPicture = VASTORIM_TEST_OUTPUT_DIR "/real-window-scores.xwd";
    std::filesystem::copy_file(folder.file("scores.xwd"), scoresPicture,
                               std::filesystem::copy_options::overwrite_existing);
    const platform::Picture scores = windowPicture(scoresPicture);
    ASSERT_EQ(std::pair(scores.width, scores.height), std::pair(1024, 768));
    const Box name = {600, 140, 900, 190};
    const std::vector<bool> seen = whiteIn(scores, name);
    const std::vector<bool> drawn = whiteInDrawnText("NOVA", name);
    int both = 0, either = 0;
    for (std::size_t i = 0; i < seen.size(); ++i) {
        both += seen[i] && drawn[i];
        either += seen[i] || drawn[i];
    }
    EXPECT_GT(both, 100);
    EXPECT_GT(both, either * 9 / 10);
}

// The game started without arguments updates itself from the server at $3, its window pictured
// while the last file is held back ($2/holding says so); patch.dat then starts the game.
const char* const updateSession = R"script(
VASTORIM_SERVER="$3" ./vastorim & updater=$!
timeout 60 sh -c 'until [ -e "$0" ]; do sleep 0.1; done' "$2/holding" || exit 20
window=$(findWindow '^Updating$' 10)
[ -n "$window" ] || exit 21
sleep 0.5
xwd -silent -id "$window" -out "$2/update.xwd" || exit 22
xprop -id "$window" WM_CLASS > "$2/xprop.txt" || exit 22
wait $updater || exit 23
game=$(findWindow '^Vastorim$' 20)
[ -n "$game" ] || exit 24
xdotool windowfocus --sync "$game"; sleep 1
xwd -silent -id "$game" -out "$2/menu.xwd" || exit 25
xdotool key Escape
timeout 10 sh -c 'while xdotool search --name "^Vastorim$" >/dev/null; do sleep 0.2; done' || exit 26
)script";

// Version 11028 brings a new game binary (the same program) and a new text; 11027 the text alone.
TEST_F(RealWindow, TheGameWithoutArgumentsUpdatesItselfAndPatchDatStartsItWithRun) {
    namespace fs = std::filesystem;
    const TempFolder work, pictures;
    const std::string game = work.file("game"), release = work.file("release");
    const std::string client = work.file("client");
    for (const std::string& folder : {game, release, client}) {
        fs::create_directories(folder);
    }
    for (const char* part : {"vastorim", "patch.dat", "effects", "graphics", "sound"}) {
        fs::copy(std::string(VASTORIM_PROGRAM_DIR "/") + part, game + "/" + part,
                 fs::copy_options::recursive);
    }
    writeFile(game + "/game setup.txt", "false\r\ntrue\r\ntrue\r\n1\r\nup\r\ndown\r\n"
                                        "left\r\nright\r\nspace\r\n");
    writeFile(game + "/client_inf.dat", "11026\r\n");
    fs::copy(VASTORIM_PROGRAM_DIR "/vastorim", release + "/vastorim");
    writeFile(release + "/readme.txt", "Vastorim 1.10.27\n");
    ASSERT_EQ(publishRelease(release, client, "--version 11027 readme.txt").status, 0);
    writeFile(release + "/readme.txt", "Vastorim 1.10.28\n");
    ASSERT_EQ(publishRelease(release, client, "--version 11028 vastorim readme.txt").status, 0);
    RunningServer server(work, "--client-dir '" + client + "'");
    // The files come in list order: the game, the text, and the text again; the last waits.
    std::atomic<int> texts = 0;
    LoopbackServer relay([&](const httplib::Request& request, httplib::Response& response) {
        if (request.path == "/client/readme.txt" && ++texts == 2) {
            writeFile(pictures.file("holding"), "");
            std::this_thread::sleep_for(std::chrono::seconds(4));
        }
        return server.relay(request, response);
    });
    const CommandResult updated = runSession(updateSession, 90, game, pictures, relay.base());
    ASSERT_EQ(updated.status, 0)
        << "8: no X server, 9: no program folder, 20: the last file was never asked for, 21, 22: "
           "no update window, picture or class, 23: the updater failed, 24, 25: no game window or "
           "picture, 26: Escape in the main menu did not end the game\n"
        << updated.err;

    EXPECT_EQ(readFile(game + "/client_inf.dat"), "11028\r\n");
    EXPECT_EQ(readFile(game + "/readme.txt"), "Vastorim 1.10.28\n");
    EXPECT_EQ(fs::status(game + "/vastorim").permissions(),
              fs::status(VASTORIM_PROGRAM_DIR "/vastorim").permissions());
    const platform::Picture window = windowPicture(pictures.file("update.xwd"));
    std::string problem;
    EXPECT_TRUE(
        platform::writePicture(VASTORIM_TEST_OUTPUT_DIR "/update-window-live.png", window, problem))
        << problem;
    ASSERT_EQ(std::pair(window.width, window.height), std::pair(465, 57));
    const auto colourAt = [&](int x, int y) { return window.pixels[y * 465 + x] & 0xffffff; };
    EXPECT_EQ(colourAt(8, 45), 0x404040u) << "the background";
    EXPECT_EQ(colourAt(116, 36), 0x808080u) << "the bar, at half the track after two of three";
    EXPECT_EQ(colourAt(316, 36), 0x000000u) << "the track";
    const std::string properties = readFile(pictures.file("xprop.txt"));
    EXPECT_TRUE(has(properties, "WM_CLASS(STRING) = \"vastorim\", \"vastorim\"")) << properties;
    const platform::Picture menu = windowPicture(pictures.file("menu.xwd"));
    ASSERT_EQ(std::pair(menu.width, menu.height), std::pair(1024, 768));
    EXPECT_GT(countPixels(menu, 0, 180, 1024, 250, white), 100) << "the game's title";
}

// The first start asks in a box; Escape answers No, and the launcher (a script here that notes
// that it ran) starts at once.
const char* const questionSession = R"script(
./vastorim & updater=$!
# The box's title is UTF-8 alone, which xdotool's search does not read.
timeout 10 sh -c 'until xwininfo -root -children | grep -q "\"Allow updates?\""; do
    sleep 0.1; done' || exit 30
box=$(xwininfo -root -children | awk '/"Allow updates\?"/ { print $1; exit }')
sleep 0.5
xwd -silent -id "$box" -out "$2/question.xwd" || exit 31
xdotool windowfocus --sync "$box" key Escape
wait $updater || exit 32
timeout 5 sh -c 'until [ -e launched ]; do sleep 0.1; done' || exit 33
)script";

TEST_F(RealWindow, TheFirstStartAsksInABoxAndEscapeAnswersNo) {
    const TempFolder game, pictures;
    std::filesystem::copy(VASTORIM_PROGRAM_DIR "/vastorim", game.file("vastorim"));
    game.write("patch.dat", "#!/bin/sh\ntouch launched\n");
    std::filesystem::permissions(game.file("patch.dat"), std::filesystem::perms::owner_all);
    const CommandResult asked = runSession(questionSession, 90, game.path(), pictures);
    ASSERT_EQ(asked.status, 0) << "8: no X server, 9: no program folder, 30, 31: no question box "
                                  "or picture, 32: the updater failed, 33: no launcher started\n"
                               << asked.err;
    EXPECT_EQ(readFile(game.file("game setup.txt")),
              "true\r\nfalse\r\nfalse\r\n1\r\nup\r\ndown\r\nleft\r\nright\r\nspace\r\n");
    const platform::Picture box = windowPicture(pictures.file("question.xwd"));
    ASSERT_GT(box.width, 0) << "not a 32-bit XWD picture";
    std::string problem;
    EXPECT_TRUE(
        platform::writePicture(VASTORIM_TEST_OUTPUT_DIR "/consent-question.png", box, problem))
        << problem;
}

} // namespace
} // namespace vastorim::test
