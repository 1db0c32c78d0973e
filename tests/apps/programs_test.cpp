// The programs as they run: whole games through vastorim-sim (scripted keys, the demo pilot and
// their replays), vastorim-sim and vastorim-fx on a small program folder of their own, and the
// game in a real window.
#include "protocol/score_key.h"
#include "server/running_server.h"
#include "support/loopback_server.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <stdexcept>
#include <thread>

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

TEST_F(GameOver, ReturnOnAChangedNameGoesToTheHighScoresAndNotOnTheDefault) {
    const SimRun run = playAfterDeath(30, {{2, "return"}, {4, "q"}, {6, "w"}, {8, "return"}});
    EXPECT_EQ(run.trace[death + 3].number("gameMode"), 1) << "Return on the untouched default";
    const TraceFrame& after = run.trace[death + 9];
    EXPECT_EQ(after.text("playerName"), "playerQW");
    EXPECT_EQ(after.number("gameMode"), 0);
    EXPECT_EQ(after.number("menuScreen"), 1);
    EXPECT_EQ(after.number("globalFade"), 1);
}

// The same game online against a loopback server, and offline: each request finishes before the
// next frame, so the place shows one frame after the game ends.
TEST_F(GameOver, OnlineThePlaceFollowsTheReplyAndTheTypedNameIsSubmitted) {
    std::string table = "1|999999|FAST|2|999999|FASTER";
    for (int rank = 3; rank <= 10; ++rank) {
        table += "|" + std::to_string(rank) + "|1|SLOW";
    }
    test::LoopbackServer server([&table](const std::string& head) {
        return test::httpReply(200, head.find(" /submit.php?") != std::string::npos ? "OK" : table);
    });
    setenv("VASTORIM_SERVER", server.base().c_str(), 1);
    const std::vector<std::pair<long, const char*>> keys = {{2, "backspace"}, {4, "return"}};
    const SimRun offline = playAfterDeath(8, keys);
    const SimRun run = playAfterDeath(8, keys, {"--online"});
    unsetenv("VASTORIM_SERVER");
    EXPECT_EQ(offline.trace.size(), run.trace.size()) << offline.result.err;
    ASSERT_EQ(run.trace.size(), static_cast<std::size_t>(death + 8)) << run.result.err;
    EXPECT_EQ(run.trace[death].number("scorePlace"), -1) << "the reply is on its way";
    EXPECT_EQ(run.trace[death + 1].number("scorePlace"), 3);
    EXPECT_EQ(run.trace[death + 5].number("menuScreen"), 1);
    const auto score = static_cast<std::int32_t>(run.trace[death].number("finalTime")) / 10;
    const std::string tableTarget = "/highscores.php?query=score_list";
    EXPECT_EQ(server.targets(), (std::vector<std::string>{
                                    tableTarget, tableTarget,
                                    "/submit.php?name=PLAYE&score=" + std::to_string(score) +
                                        "&key=" + scoreKey("PLAYE", score, VASTORIM_SCORE_SECRET),
                                    tableTarget}))
        << "the offline run asked for nothing";
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
        writeProgramFolder(data, {"dot.png", "END"});
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
}

TEST_F(Tools, SimEndsOnAMissingPictureWithOneErrorLineNamingTheFile) {
    writeFile(data + "/graphics/resource list.txt", "dot.png\r\nlost.png\r\nEND\r\n");
    const auto result = sim({"--frames", "3"});
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
}

// The picture in an xwd window dump of 32-bit pixels; nothing when the bytes are no such dump.
std::optional<platform::Picture> xwdPicture(const std::string& xwd) {
    const auto byte = [&](std::size_t at) {
        return std::uint32_t{static_cast<unsigned char>(xwd[at])};
    };
    const auto field = [&](std::size_t index) {
        return byte(index * 4) << 24 | byte(index * 4 + 1) << 16 | byte(index * 4 + 2) << 8 |
               byte(index * 4 + 3);
    };
    if (xwd.size() < 100 || field(11) != 32) {
        return std::nullopt;
    }
    platform::Picture picture{static_cast<int>(field(4)), static_cast<int>(field(5)), {}};
    const std::uint32_t bytesPerLine = field(12);
    const bool leastFirst = field(7) == 0; // B G R x; else x R G B
    const std::size_t start = field(0) + field(19) * 12;
    if (xwd.size() < start + std::size_t{bytesPerLine} * field(5)) {
        return std::nullopt;
    }
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const std::size_t at = start + std::size_t(y) * bytesPerLine + std::size_t(x) * 4;
            picture.pixels.push_back(
                0xFF000000 | (leastFirst ? byte(at + 2) << 16 | byte(at + 1) << 8 | byte(at)
                                         : byte(at + 1) << 16 | byte(at + 2) << 8 | byte(at + 3)));
        }
    }
    return picture;
}

// Pixels of a window picture whose three colour channels all exceed `level`, in a box given in
// the game's 1024 x 768 surface coordinates (the window may show it scaled).
int brightPixels(const platform::Picture& picture, int left, int top, int right, int bottom,
                 int level) {
    const double sx = picture.width / 1024.0, sy = picture.height / 768.0;
    int count = 0;
    for (int y = static_cast<int>(top * sy); y < static_cast<int>(bottom * sy); ++y) {
        for (int x = static_cast<int>(left * sx); x < static_cast<int>(right * sx); ++x) {
            const std::uint32_t pixel = picture.pixels[std::size_t(y) * picture.width + x];
            count += std::min({pixel >> 16 & 0xFF, pixel >> 8 & 0xFF, pixel & 0xFF}) >
                     static_cast<std::uint32_t>(level);
        }
    }
    return count;
}

// A display of its own for a session typed with xdotool and pictured with xwd ($1: the program
// folder, $2: where the pictures go), run in the program folder. A step that fails ends the
// session with its own status.
const char* const displayOfItsOwn = R"script(
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$2/display" 2>/dev/null & server=$!
trap 'kill $server' EXIT
trap 'exit 99' TERM
timeout 10 sh -c 'until [ -s "$0" ]; do sleep 0.1; done' "$2/display" || exit 8
export DISPLAY=":$(cat "$2/display")" SDL_AUDIODRIVER=dummy
cd "$1" || exit 9
)script";

// The session in a folder (the build's program folder, or one of the test's) with this script.
CommandResult runSession(const std::string& script, const std::string& programFolder,
                         const TempFolder& pictures, const std::string& more = "") {
    return runCommand("timeout 90 bash '" +
                      pictures.write("session.sh", std::string(displayOfItsOwn) + script) + "' '" +
                      programFolder + "' '" + pictures.path() + "' " + more);
}

// Sessions on a display of their own, where the tools for them are installed.
class RealWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        if (runCommand("(command -v Xvfb && command -v xdotool && command -v xwd)").status != 0) {
            GTEST_SKIP()
                << "Xvfb, xdotool or xwd is not installed (scripts/setup.sh test installs them)";
        }
    }
};

// A player's session: the menu, a game, Escape twice.
const char* const session = R"script(
./vastorim run & game=$!
window=$(timeout 20 xdotool search --sync --name '^Vastorim$' | head -n 1)
[ -n "$window" ] || exit 10
xdotool windowfocus --sync "$window"; sleep 1
xwd -silent -id "$window" -out "$2/menu.xwd" || exit 11
xdotool key Return; sleep 0.5
xdotool keydown Up keydown space; sleep 2; xdotool keyup Up keyup space
xwd -silent -id "$window" -out "$2/play.xwd" || exit 12
xdotool key Escape; sleep 1
kill -0 $game || exit 13
xdotool key Escape
timeout 10 tail --pid=$game -f /dev/null || exit 14
wait $game
)script";

TEST_F(RealWindow, APlayerStartsAGameFliesShootsAndQuitsWithTheKeyboard) {
    const TempFolder folder;
    const CommandResult played = runSession(session, VASTORIM_PROGRAM_DIR, folder);
    ASSERT_EQ(played.status, 0)
        << "8: no X server, 10: no game window, 11, 12: no picture, 13: the program ended in play "
           "or on Escape there, 14: Escape in the main menu did not end it, else its own status\n"
        << played.err;

    // The main menu: the title in white in its band, no clock in the corner (a drifting background
    // spark may light a few pixels there; the clock lights hundreds).
    const auto menu = xwdPicture(readFile(folder.file("menu.xwd")));
    const auto play = xwdPicture(readFile(folder.file("play.xwd")));
    ASSERT_TRUE(menu && play) << "not 32-bit XWD pictures";
    EXPECT_GT(brightPixels(*menu, 0, 180, 1024, 250, 200), 100);
    EXPECT_LT(brightPixels(*menu, 20, 724, 200, 768, 200), 100);
    // In play: the survival clock in the lower left corner.
    EXPECT_GT(brightPixels(*play, 20, 724, 200, 768, 200), 300);
}

// The game started without arguments updates itself from the server at $3, its window pictured
// while the last file is held back ($2/holding says so); patch.dat then starts the game.
const char* const updateSession = R"script(
VASTORIM_SERVER="$3" ./vastorim & updater=$!
timeout 60 sh -c 'until [ -e "$0" ]; do sleep 0.1; done' "$2/holding" || exit 20
window=$(timeout 10 xdotool search --sync --name '^Updating$' | head -n 1)
[ -n "$window" ] || exit 21
sleep 0.5
xwd -silent -id "$window" -out "$2/update.xwd" || exit 22
wait $updater || exit 23
game=$(timeout 20 xdotool search --sync --name '^Vastorim$' | head -n 1)
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
    RunningServer server(work, {"--client-dir", client});
    // The files come in list order: the game, the text, and the text again; the last waits.
    int texts = 0;
    LoopbackServer relay([&](const std::string& head) -> std::optional<std::string> {
        const std::string target = head.substr(4, head.find(' ', 4) - 4);
        if (target == "/client/readme.txt" && ++texts == 2) {
            writeFile(pictures.file("holding"), "");
            std::this_thread::sleep_for(std::chrono::seconds(4));
        }
        const HttpReply reply = server.get(target);
        return httpReply(reply.status, reply.body);
    });
    const CommandResult updated = runSession(updateSession, game, pictures, relay.base());
    ASSERT_EQ(updated.status, 0)
        << "8: no X server, 20: the last file was never asked for, 21, 22: no update window or "
           "picture, 23: the updater failed, 24, 25: no game window or picture, 26: Escape in the "
           "main menu did not end the game\n"
        << updated.err;

    EXPECT_EQ(readFile(game + "/client_inf.dat"), "11028\r\n");
    EXPECT_EQ(readFile(game + "/readme.txt"), "Vastorim 1.10.28\n");
    EXPECT_EQ(fs::status(game + "/vastorim").permissions(),
              fs::status(VASTORIM_PROGRAM_DIR "/vastorim").permissions());
    const auto window = xwdPicture(readFile(pictures.file("update.xwd")));
    const auto menu = xwdPicture(readFile(pictures.file("menu.xwd")));
    ASSERT_TRUE(window && menu) << "not 32-bit XWD pictures";
    std::string problem;
    EXPECT_TRUE(platform::writePicture(VASTORIM_TEST_OUTPUT_DIR "/update-window-live.png", *window,
                                       problem))
        << problem;
    ASSERT_EQ(std::pair(window->width, window->height), std::pair(465, 57));
    const auto colourAt = [&](int x, int y) { return window->pixels[y * 465 + x] & 0xFFFFFF; };
    EXPECT_EQ(colourAt(8, 45), 0x404040u) << "the background";
    EXPECT_EQ(colourAt(116, 36), 0x808080u) << "the bar, at half the track after two of three";
    EXPECT_EQ(colourAt(316, 36), 0x000000u) << "the track";
    EXPECT_GT(brightPixels(*menu, 0, 180, 1024, 250, 200), 100) << "the game's title";
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
    const CommandResult asked = runSession(questionSession, game.path(), pictures);
    ASSERT_EQ(asked.status, 0) << "30, 31: no question box or picture, 32: the updater failed, 33: "
                                  "no launcher started\n"
                               << asked.err;
    EXPECT_EQ(readFile(game.file("game setup.txt")),
              "true\r\nfalse\r\nfalse\r\n1\r\nup\r\ndown\r\nleft\r\nright\r\nspace\r\n");
    const auto box = xwdPicture(readFile(pictures.file("question.xwd")));
    ASSERT_TRUE(box) << "not a 32-bit XWD picture";
    std::string problem;
    EXPECT_TRUE(
        platform::writePicture(VASTORIM_TEST_OUTPUT_DIR "/consent-question.png", *box, problem))
        << problem;
}

} // namespace
} // namespace vastorim::test
