#include "engine/app_path.h"
#include "engine/music_clock.h"
#include "engine/numbers.h"
#include "engine/platform_access.h"
#include "engine/startup.h"
#include "platform/audio.h"
#include "platform/platform.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace vastorim {
namespace {

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
    std::uint32_t sizeInBytes() const override { return 2500000; }
    std::uint32_t bytesPerFrame() const override { return 2; }
};

struct FakeDevice : platform::AudioDevice {
    FakeTrack* track = nullptr;
    std::unique_ptr<platform::AudioBuffer> loadWav(const std::string&) override {
        auto made = std::make_unique<FakeTrack>();
        track = made.get();
        return made;
    }
};

class MusicClockTest : public ::testing::Test {
  protected:
    void SetUp() override {
        resetMusicClock();
        globals.globalFade = 1;
        globals.menuScreen = 0;
        globals.frameTime = 0;
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

    FakeDevice& device() { return static_cast<FakeDevice&>(*platform.audio); }
    FakeTrack& track() { return *device().track; }
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
    struct Grid {
        bool MusicClock::*flag;
        double period, offset;
    };
    const Grid grids[] = {{&MusicClock::halfBeatFlag, 0.5, 0.25},
                          {&MusicClock::beatFlag, 1, 0},
                          {&MusicClock::twoBeatFlag, 2, 0},
                          {&MusicClock::fourBeatFlag, 4, 0}};
    for (const Grid& grid : grids) {
        resetMusicClock();
        stepAt(40000); // beat 1.06
        const auto slot = [&](std::uint32_t bytes) {
            return std::floor((bytes / 37786.0 - grid.offset) / grid.period);
        };
        for (std::uint32_t bytes = 41000; bytes < 2418305; bytes += 1000) {
            stepAt(bytes);
            ASSERT_EQ(music.*grid.flag, slot(bytes) != slot(bytes - 1000))
                << "period " << grid.period << " at " << bytes;
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

} // namespace
} // namespace vastorim
