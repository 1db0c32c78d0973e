// The content the build lays out in the program folder: the lists, the pictures, the effects as
// the particle engine bakes them and as vastorim-fx checks and shows them, and the music track.
#include "engine/random.h"
#include "engine/text_files.h"
#include "game/effect_names.h"
#include "particles/emitter.h"
#include "platform/wav_file.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <set>
#include <tuple>

namespace vastorim::test {
namespace {

const std::string programDir = VASTORIM_PROGRAM_DIR;
const std::string fx = "'" + programDir + "/vastorim-fx' ";

// The lines of a list file in the program folder before its "END" line.
std::vector<std::string> readList(const std::string& name) {
    TextReader file(programDir + "/" + name);
    std::vector<std::string> lines;
    for (std::string line; file.readLine(line) && line != "END";) {
        lines.push_back(line);
    }
    return lines;
}

const std::string effectList = "effects/effect list.txt";

TEST(EffectList, NamesEveryEffectTheGameSpawnsOnce) {
    const auto names = readList(effectList);
    const std::set<std::string> listed(names.begin(), names.end());
    EXPECT_EQ(listed.size(), names.size()) << "an effect is listed twice";
    for (const auto& name : spawnedEffectNames()) {
        EXPECT_TRUE(listed.count(name)) << name << " is not in the effect list";
    }
}

TEST(Pictures, AreListedInLowerCaseAndLoadWithShapeInTheirAlpha) {
    const auto pictures = readList("graphics/resource list.txt");
    EXPECT_GE(pictures.size(), 10u);
    for (const auto& name : pictures) {
        EXPECT_TRUE(std::none_of(name.begin(), name.end(), ::isupper)) << name;
        const platform::Picture image = readPng(programDir + "/graphics/" + name);
        EXPECT_EQ(image.width, image.height) << name;
        EXPECT_EQ(image.width & (image.width - 1), 0) << name << ": a power of two";
        EXPECT_EQ(image.pixels[0] >> 24, 0u) << name << ": the corner is transparent";
        EXPECT_TRUE(std::any_of(image.pixels.begin(), image.pixels.end(),
                                [](std::uint32_t pixel) { return (pixel >> 24) > 200; }))
            << name << ": visible shape";
    }
}

// Every listed effect file, loaded (a missing or malformed one fails every test here).
class ShippedEffects : public ::testing::Test {
  protected:
    void SetUp() override {
        seedRandom(20240611);
        for (const auto& name : readList(effectList)) {
            ASSERT_NO_THROW(emitter.addEffect(programDir + "/effects/" + name)) << name;
        }
    }
    const Effect& effect(const std::string& name) {
        const Effect* found = emitter.getEffect(name);
        EXPECT_EQ(found->name, name) << "unknown names fall back to the first effect";
        return *found;
    }
    // A live copy of type i, baked with the seed text the game would give it (empty: the file's).
    Particle baked(const std::string& name, int i, const std::string& seed = "") {
        Particle particle;
        particle.spawnFrom(*effect(name).getParticle(static_cast<std::int16_t>(i)));
        if (!seed.empty()) {
            particle.seedExpression = seed;
        }
        particle.bakeKeys();
        return particle;
    }
    Emitter emitter;
};

TEST_F(ShippedEffects, StayDrawableOverEveryParticlesLife) {
    for (const auto& name : readList(effectList)) {
        const bool steered = name.rfind("weapon", 0) == 0 || name == "engine1.txt";
        ASSERT_GT(effect(name).getParticles(), 0) << name;
        for (int i = 0; i < effect(name).getParticles(); ++i) {
            for (int draw = 0; draw < 8; ++draw) {
                const auto p = baked(name, i, steered ? "2.1" : "");
                const std::string where = name + " type " + std::to_string(i);
                ASSERT_GE(p.killAt, 1) << where;
                // The last frame of a particle samples just past its lifetime.
                for (double age = 0; age <= p.killAt + 0.05; age += 0.05) {
                    for (const auto* colour : {&p.colourR, &p.colourG, &p.colourB, &p.colourA}) {
                        const double v = colour->getValue(age);
                        EXPECT_TRUE(v >= -0.5 && v <= 255.5) << where << " age " << age;
                    }
                    for (const auto* size : {&p.sizeX, &p.sizeY}) {
                        const double v = size->getValue(age);
                        EXPECT_TRUE(v >= 0 && v < 2000) << where << " age " << age;
                    }
                    for (const auto* motion : {&p.speedX, &p.speedY, &p.rotation}) {
                        EXPECT_TRUE(std::isfinite(motion->getValue(age))) << where;
                    }
                }
            }
        }
    }
}

TEST_F(ShippedEffects, ProjectilesAndExhaustFollowTheHeadingInTheirSeed) {
    for (const double heading : {0.0, 1.2, 3.0, 4.4, -2.0}) {
        const double hx = std::cos(heading), hy = std::sin(heading);
        for (int number = 1; number <= 3; ++number) {
            for (int level = 1; level <= 4; ++level) {
                const std::string name = weaponEffectName(number, level);
                for (int i = 0; i < effect(name).getParticles(); ++i) {
                    const auto shot = baked(name, i, std::to_string(heading));
                    const double vx = shot.speedX.getValue(0), vy = shot.speedY.getValue(0);
                    const double speed = std::hypot(vx, vy);
                    EXPECT_GT(speed, 200) << name;
                    EXPECT_GT((vx * hx + vy * hy) / speed, 0.85) << name << " at " << heading;
                    EXPECT_NEAR(std::remainder(shot.angle - std::atan2(vy, vx), 2 * M_PI), 0, 0.01)
                        << name << ": the picture faces where the shot flies";
                    EXPECT_LT(std::hypot(shot.x, shot.y), 20) << name;
                }
            }
        }
        // The game hands the exhaust the heading plus pi: the flame must leave that way.
        for (int i = 0; i < effect("engine1.txt").getParticles(); ++i) {
            const auto puff = baked("engine1.txt", i, std::to_string(heading + M_PI));
            EXPECT_LT(puff.speedX.getValue(0) * hx + puff.speedY.getValue(0) * hy, 0) << heading;
            EXPECT_LT(puff.x * hx + puff.y * hy, 0) << "puffs start behind the ship";
        }
    }
}

TEST(ShippedEffectsThroughFx, CheckPassesEachWithoutWarningAndTheGalleryShowsEachAtThreeAges) {
    const auto names = readList(effectList);
    std::string files;
    for (const auto& name : names) {
        files += " '" + programDir + "/effects/" + name + "'";
    }
    const auto check = runCommand(fx + "check --data '" + programDir + "'" + files);
    EXPECT_EQ(check.status, 0) << check.out << check.err;
    EXPECT_EQ(check.out.find("warning"), std::string::npos) << check.out;
    for (const auto& name : names) {
        EXPECT_NE(check.out.find("/effects/" + name + ": ok ("), std::string::npos) << name;
    }

    const TempFolder folder;
    const auto result = runCommand(fx + "gallery --data '" + programDir + "' --out '" +
                                   folder.file("gallery.png") + "'");
    ASSERT_EQ(result.status, 0) << result.out << result.err;
    // Two effects to a row, each at three ages; a cell is a label strip over a picture of the
    // part of the surface the effect covers.
    constexpr int cellWidth = 320, cellHeight = 240, labelHeight = 18, gap = 4, ages = 3,
                  perRow = 2;
    const platform::Picture sheet = readPng(folder.file("gallery.png"));
    const int rows = (static_cast<int>(names.size()) + perRow - 1) / perRow;
    ASSERT_EQ(sheet.width, perRow * ages * (cellWidth + gap) + gap);
    ASSERT_EQ(sheet.height, rows * (labelHeight + cellHeight + gap) + gap);

    const auto litPixels = [&sheet](int left, int top, int width, int height) {
        int lit = 0;
        for (int y = top; y < top + height; ++y) {
            for (int x = left; x < left + width; ++x) {
                const std::uint32_t p = sheet.pixels[static_cast<std::size_t>(y) * sheet.width + x];
                lit += std::max({(p >> 16) & 0xff, (p >> 8) & 0xff, p & 0xff}) > 32 ? 1 : 0;
            }
        }
        return lit;
    };
    for (int i = 0; i < static_cast<int>(names.size()); ++i) {
        const std::string& name = names[i];
        EXPECT_NE(result.out.find(name), std::string::npos) << "no legend line";
        const int top = gap + i / perRow * (labelHeight + cellHeight + gap);
        int mostLit = 0;
        for (int age = 0; age < ages; ++age) {
            const int left = gap + (i % perRow * ages + age) * (cellWidth + gap);
            EXPECT_GT(litPixels(left, top, cellWidth, labelHeight), 20)
                << name << " has no label at age " << age;
            mostLit = std::max(mostLit, litPixels(left, top + labelHeight, cellWidth, cellHeight));
        }
        // Not a speck: at one age at least, the effect lights a few hundred pixels of its cell.
        EXPECT_GT(mostLit, 400) << name << " does not show in the gallery";
    }
}

constexpr long kBeatBytes = 37786;
constexpr long kBeatFrames = kBeatBytes / 2;
constexpr long kLoopEndBytes = 2418305;

const std::string kTrackPath = programDir + "/sound/music.wav";

// The track as the game's sound devices read it.
class MusicTrack : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        track = platform::readWav(kTrackPath, true);
        for (float sample : track.samples) {
            samples.push_back(static_cast<std::int16_t>(sample * 32768));
        }
    }
    void SetUp() override { ASSERT_FALSE(samples.empty()) << kTrackPath; }
    static inline platform::WavSound track;
    static inline std::vector<std::int16_t> samples;
};

TEST_F(MusicTrack, IsSixteenBitMonoPcmAt22050HzInWholeBeatsWithATailAfterTheLoop) {
    EXPECT_EQ(std::tuple(track.channels, track.sampleRate, track.bytesPerFrame),
              std::tuple(1, 22050, 2u));
    const long dataBytes = static_cast<long>(samples.size()) * 2;
    EXPECT_EQ(dataBytes % kBeatBytes, 0) << "whole beats only";
    EXPECT_GE(dataBytes, kLoopEndBytes + kBeatBytes) << "at least one beat after the loop end";
}

// Playing past the loop end and jumping back to the loop start must not be heard: the tail
// continues exactly as the loop begins.
TEST_F(MusicTrack, JoinsWithoutAClick) {
    const std::size_t start = kBeatFrames;           // after the lead-in beat
    const std::size_t end = (kLoopEndBytes - 1) / 2; // first sample at or after the loop end
    for (std::size_t k = 0; k < kBeatFrames; ++k) {
        ASSERT_LE(std::abs(samples[end + k] - samples[start + k]), 2) << "sample " << k;
    }
}

// Drum attacks found from the waveform alone: the first 1 ms step from 30 ms before a beat whose
// next 4 ms carry over three times the energy of the 30 ms before them is the beat's attack.
TEST_F(MusicTrack, DrumsStrikeWithinFiveMillisecondsOfEveryBeat) {
    const auto energy = [](long from, long count) {
        double sum = 0;
        for (long i = from; i < from + count; ++i) {
            sum += static_cast<double>(samples[i]) * samples[i];
        }
        return sum / count;
    };
    const auto attacks = [&](long at) {
        return energy(at, 88) > 3 * energy(at - 660, 660) && energy(at, 88) > 2.0e6;
    };
    for (long beat = 1; beat < static_cast<long>(samples.size()) / kBeatFrames; ++beat) {
        const long due = beat * kBeatFrames;
        long attack = due - 660;
        while (attack <= due + 110 && !attacks(attack)) {
            attack += 22;
        }
        EXPECT_LE(std::abs(attack - due), 110) << "beat " << beat;
    }
}

// The build made the program folder's track; a second run must write the same bytes.
TEST(MusicGenerator, WritesTheSameBytesOnEveryRun) {
    const std::string generator = "'" VASTORIM_PROGRAM_DIR "/../tools/vastorim-music' ";
    const TempFolder folder;
    ASSERT_EQ(runCommand(generator + "'" + folder.file("again.wav") + "'").status, 0);
    EXPECT_TRUE(readFile(folder.file("again.wav")) == readFile(kTrackPath));
}

} // namespace
} // namespace vastorim::test
