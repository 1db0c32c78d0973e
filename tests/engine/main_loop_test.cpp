// Main and its loop on the headless platform, and the music clock that keeps the game's time.
#include "engine/app_path.h"
#include "engine/music_clock.h"
#include "engine/numbers.h"
#include "engine/platform_access.h"
#include "engine/renderer.h"
#include "engine/startup.h"
#include "engine/textures.h"
#include "platform/audio.h"
#include "platform/events.h"
#include "platform/platform.h"
#include "platform/platform_error.h"
#include "platform/video.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>
#include <vector>

namespace vastorim::test {
namespace {

using platform::Event;

// Main on the headless platform with a small program folder; each test sets hooks.
class HeadlessMain : public ::testing::Test {
  protected:
    void SetUp() override {
        hooks = EngineHooks{};
        writeProgramFolder(folder.path(), {"white.png", "END"});
        setAppPath(folder.path());
    }
    void TearDown() override {
        hooks = EngineHooks{};
        resetGlobalState();
        resetTextureList();
        setAppPath(".");
    }

    TempFolder folder;
    platform::Platform headless = platform::createHeadlessPlatform(20);
};

// A first start: no setup file and no font. The music plays from the loop start at 22000 frames
// of 2 bytes a second, 880 bytes a 20 ms frame.
TEST_F(HeadlessMain, StartsUpInOrderInTheMenuAndPlaysTheMusicFromItsLoopStart) {
    std::vector<std::string> calls;
    hooks.fetchHighScores = [&] {
        calls.push_back("fetchHighScores");
        EXPECT_EQ(lastTexture(), -1);
        EXPECT_NE(currentVideo(), nullptr);
    };
    hooks.loadContent = [&] {
        calls.push_back("loadContent");
        EXPECT_EQ(findTexture("white.png"), 0);
    };
    hooks.resetMenuItems = [&] { calls.push_back("resetMenuItems"); };
    globals.gameMode = 1;
    globals.globalFade = 0.25f;
    hooks.updateMode = [&] {
        EXPECT_EQ(globals.gameMode, 0);
        EXPECT_EQ(globals.menuScreen, 0);
        EXPECT_EQ(globals.globalFade, 1.0f);
    };
    std::vector<std::int32_t> positions;
    hooks.afterFrame = [&] {
        updateMusicClock();
        positions.push_back(music.playPos);
        globals.gameRunning = positions.size() < 2;
    };
    ASSERT_EQ(Main({"run"}, headless), 0);
    EXPECT_EQ(calls,
              (std::vector<std::string>{"fetchHighScores", "loadContent", "resetMenuItems"}));
    ASSERT_EQ(positions.size(), 2u);
    EXPECT_GE(positions[0], 37786);
    EXPECT_LE(positions[0], 37786 + 880);
    EXPECT_EQ(positions[1] - positions[0], 880);
    EXPECT_THROW(restartMusic(), std::logic_error) << "released with the platform, not dangling";
}

TEST_F(HeadlessMain, EventsReachTheHandlersAfterTheFrameAndCloseEndsTheLoop) {
    std::vector<std::string> seen;
    hooks.keyDown = [&](int code) { seen.push_back("down " + std::to_string(code)); };
    hooks.keyUp = [&](int code) { seen.push_back("up " + std::to_string(code)); };
    hooks.updateMode = [&] { seen.push_back("update"); };
    // Each frame's events, pushed after it; a loop that outlives them fails on the third frame.
    const std::vector<std::vector<Event>> script = {
        {{Event::Type::KeyDown, 38}, {Event::Type::KeyDown, 38}, {Event::Type::KeyUp, 38}},
        {{Event::Type::Close, 0}, {Event::Type::KeyDown, 13}}};
    std::size_t framesRun = 0;
    hooks.afterFrame = [&] {
        for (const Event& event : script.at(framesRun++)) {
            static_cast<platform::ScriptedEvents&>(*headless.events).push(event);
        }
    };
    EXPECT_EQ(Main({"run"}, headless), 0);
    // The iteration that sees the close request finishes, then the video is released.
    EXPECT_EQ(framesRun, 2u);
    EXPECT_EQ(seen, (std::vector<std::string>{"update", "down 38", "down 38", "up 38", "update",
                                              "down 13"}));
    EXPECT_FALSE(globals.gameRunning);
    EXPECT_THROW(headless.video->readPixels(), platform::PlatformError);
    EXPECT_EQ(currentPlatform(), nullptr);
    EXPECT_EQ(currentVideo(), nullptr);
}

// A track whose position the test sets, recording what the clock does to it.
struct FakeTrack : platform::AudioBuffer {
    std::uint32_t bytes = 0;
    std::int32_t rate = 0;
    std::int32_t volume = 0;
    std::vector<std::string> calls;

    void play() override { calls.push_back("play"); }
    void stop() override { calls.push_back("stop"); }
    bool playing() override { return calls.empty() || calls.back() == "play"; }
    std::uint32_t position() override { return bytes; }
    void setPosition(std::uint32_t to) override {
        bytes = to;
        calls.push_back("position " + std::to_string(to));
    }
    void setRate(std::int32_t framesPerSecond) override { rate = framesPerSecond; }
    void setVolume(std::int32_t hundredths) override { volume = hundredths; }
    std::uint32_t sizeInBytes() const override { return size; }
    std::uint32_t bytesPerFrame() const override { return frameBytes; }
    int channels() const override { return channelCount; }
    std::uint32_t size = 2500000, frameBytes = 2;
    int channelCount = 1;
};

struct FakeDevice : platform::AudioDevice {
    FakeTrack* track = nullptr;
    FakeTrack layout; // the format and length of the tracks it opens
    std::unique_ptr<platform::AudioBuffer> loadWav(const std::string&) override {
        auto made = std::make_unique<FakeTrack>(layout);
        track = made.get();
        return made;
    }
};

class MusicClockTest : public ::testing::Test {
  protected:
    void SetUp() override {
        resetMusicClock();
        resetGlobalState();
        hooks.spawnWaveAsteroid = [this](const std::string& name) { spawned.push_back(name); };
        setAppPath("/program");
        platform.audio = std::make_unique<FakeDevice>();
        setCurrentPlatform(&platform);
        initSound();
    }
    void TearDown() override {
        hooks.spawnWaveAsteroid = nullptr;
        setCurrentPlatform(nullptr);
    }

    FakeTrack& track() { return *static_cast<FakeDevice&>(*platform.audio).track; }
    // One frame of the clock with the track at the given byte.
    void stepAt(std::uint32_t bytes) {
        track().bytes = bytes;
        updateMusicClock();
    }

    platform::Platform platform;
    std::vector<std::string> spawned;
};

TEST_F(MusicClockTest, TheFirstStepRaisesEveryFlagThenEachGridOncePerCrossing) {
    stepAt(37786);
    EXPECT_TRUE(music.halfBeatFlag && music.beatFlag && music.twoBeatFlag && music.fourBeatFlag);
    stepAt(37786 + 100);
    EXPECT_FALSE(music.halfBeatFlag || music.beatFlag || music.twoBeatFlag || music.fourBeatFlag);

    // Where each grid's step changes, in beats of 37786 bytes: half beats a quarter beat after
    // each half beat, the others on every first, second and fourth beat.
    using Grid = std::tuple<bool MusicClock::*, double, double>;
    for (const auto& [flag, period, offset] :
         {Grid{&MusicClock::halfBeatFlag, 0.5, 0.25}, Grid{&MusicClock::beatFlag, 1, 0},
          Grid{&MusicClock::twoBeatFlag, 2, 0}, Grid{&MusicClock::fourBeatFlag, 4, 0}}) {
        resetMusicClock();
        stepAt(40000); // beat 1.06
        for (std::uint32_t bytes = 41000; bytes < 2418305; bytes += 1000) {
            stepAt(bytes);
            const double now = (bytes / 37786.0 - offset) / period;
            const double before = ((bytes - 1000) / 37786.0 - offset) / period;
            ASSERT_EQ(music.*flag, std::floor(now) != std::floor(before))
                << "period " << period << " at " << bytes;
        }
    }
    EXPECT_TRUE(spawned.empty()); // the loop never ended
}

TEST_F(MusicClockTest, TheLoopRestartsAtItsEndAndBeforeItsStartWithAWaveByTempo) {
    for (std::uint32_t outside : {2418305u, 2500000u, 37785u, 0u}) {
        restartMusic();
        track().calls.clear();
        spawned.clear();
        stepAt(outside);
        EXPECT_EQ(track().calls, (std::vector<std::string>{"stop", "position 37786", "play"}))
            << outside;
        EXPECT_EQ(spawned.size(), 1u);
    }
    track().calls.clear();
    stepAt(2418304);
    EXPECT_TRUE(track().calls.empty());

    const std::pair<double, std::size_t> waves[] = {
        {22799, 1}, {23599, 2}, {23600, 3}, {50000, 36}};
    for (const auto& [frequency, count] : waves) {
        spawned.clear();
        music.musicFrequency = frequency;
        stepAt(2418305);
        EXPECT_EQ(spawned.size(), count) << frequency;
        EXPECT_EQ(track().rate, toLong(frequency));
    }
}

TEST_F(MusicClockTest, TheTempoRisesOnlyInNormalPlayUpTo50000AndTheVolumeFallsWithTheFade) {
    restartMusic();
    globals.frameTime = 0.016f;
    globals.menuScreen = 1;
    updateMusicTempo();
    globals.menuScreen = 0;
    const std::pair<float, std::int32_t> fades[] = {{0.99f, -1020}, {0.75f, -1500}, {0.5f, -2000},
                                                    {0.1f, -2800},  {0.0f, -3000},  {1, -1000}};
    for (const auto& [fade, volume] : fades) {
        globals.globalFade = fade;
        updateMusicTempo();
        EXPECT_EQ(track().volume, volume) << fade;
    }
    EXPECT_NEAR(music.musicFrequency, 22000 + 1.6, 1e-3) << "100 a second, only unfaded";
    for (int frame = 0; frame < 3750 * 5; ++frame) { // 300 seconds
        updateMusicTempo();
    }
    EXPECT_EQ(music.musicFrequency, 50000);
}

TEST_F(MusicClockTest, TracksTheClockCannotKeepTimeWithAreRefusedNamingTheProblem) {
    FakeTrack& layout = static_cast<FakeDevice&>(*platform.audio).layout;
    using Case = std::tuple<std::uint32_t, std::uint32_t, int, std::string>;
    const std::string path = "/program/sound/music.wav: ";
    for (const auto& [size, frameBytes, channels, message] :
         {Case{2418305, 2, 1, "(no error)"}, Case{2418304, 2, 1, path + "the track is 2418304 "},
          Case{5000000, 4, 2, path + "the track has 2 channels"},
          Case{5000000, 4, 1, path + "the track has 32-bit"}}) {
        std::tie(layout.size, layout.frameBytes, layout.channelCount) =
            std::tuple(size, frameBytes, channels);
        EXPECT_EQ(messageOf(initSound).rfind(message, 0), 0u) << messageOf(initSound);
    }
}

} // namespace
} // namespace vastorim::test
