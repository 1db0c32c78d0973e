#include "engine/music_clock.h"

#include "engine/app_path.h"
#include "engine/errors.h"
#include "engine/numbers.h"
#include "engine/platform_access.h"
#include "engine/random.h"
#include "engine/startup.h"
#include "platform/audio.h"
#include "platform/platform.h"

#include <memory>
#include <stdexcept>
#include <string>

namespace vastorim {

MusicClock music;

namespace {

// The track stays loaded for the rest of the run; only the clock is ever reset.
std::unique_ptr<platform::AudioBuffer> musicTrack;

constexpr double startFrequency = 22000;
constexpr double topFrequency = 50000;
constexpr std::int32_t normalVolume = -1000;

platform::AudioBuffer& buffer() {
    if (!musicTrack) {
        throw std::logic_error("the music is used before initSound loaded it");
    }
    return *musicTrack;
}

// Sets a grid's step from this frame's value and says whether it moved.
bool stepChanged(std::int16_t& step, double value) {
    const std::int16_t next = toInteger(value);
    const bool changed = next != step;
    step = next;
    return changed;
}

void restartLoop() {
    platform::AudioBuffer& track = buffer();
    track.stop();
    track.setPosition(musicLoopStart);
    track.play();
}

// One asteroid more for every 800 Hz the tempo has risen.
void spawnWave() {
    const int count = toInteger(music.musicFrequency - startFrequency) / 800 + 1;
    for (int i = 0; i < count; ++i) {
        const std::int16_t variant = toInteger(rnd() + 1.0f);
        const std::string name = "asteroid1_" + std::to_string(variant) + ".txt";
        if (hooks.spawnWaveAsteroid) {
            hooks.spawnWaveAsteroid(name);
        }
    }
}

// The clock reads the play position in bytes of 16-bit mono samples and plays the loop up to its
// end: any other track runs the beats at another speed or starts a wave on every frame.
std::string problemWithTrack(const platform::AudioBuffer& track) {
    if (track.channels() != 1) {
        return "the track has " + std::to_string(track.channels()) +
               " channels; the beat clock needs one (mono)";
    }
    if (track.bytesPerFrame() != 2) {
        return "the track has " + std::to_string(track.bytesPerFrame() * 8) +
               "-bit samples; the beat clock needs 16-bit PCM";
    }
    if (track.sizeInBytes() < static_cast<std::uint32_t>(musicLoopEnd)) {
        return "the track is " + std::to_string(track.sizeInBytes()) +
               " bytes long; the loop the game plays needs " + std::to_string(musicLoopEnd);
    }
    return "";
}

} // namespace

void initSound() {
    platform::Platform* running = currentPlatform();
    if (running == nullptr || !running->audio) {
        throw std::logic_error("initSound needs a platform with an audio device");
    }
    const std::string path = programFile("sound/music.wav");
    try {
        musicTrack = running->audio->loadWav(path);
    } catch (const std::runtime_error& error) {
        throw DataError(path, 0, "", error.what());
    }
    if (const std::string problem = problemWithTrack(*musicTrack); !problem.empty()) {
        musicTrack.reset();
        throw DataError(path, 0, "", problem);
    }
}

void restartMusic() {
    platform::AudioBuffer& track = buffer();
    music.musicFrequency = startFrequency;
    track.setRate(toLong(music.musicFrequency));
    track.setPosition(musicLoopStart);
    track.setVolume(normalVolume);
    track.stop();
    track.play();
}

void updateMusicClock() {
    platform::AudioBuffer& track = buffer();
    track.setRate(toLong(music.musicFrequency));
    music.playPos = static_cast<std::int32_t>(track.position());
    const float p = static_cast<float>(music.playPos / static_cast<double>(musicGridLength));
    const float beats = p * 63.0f;
    music.halfBeatFlag = stepChanged(music.halfBeatStep, 2.0f * beats);
    music.beatFlag = stepChanged(music.beatStep, beats + 0.5);
    music.twoBeatFlag = stepChanged(music.twoBeatStep, beats * 0.5 + 0.5);
    music.fourBeatFlag = stepChanged(music.fourBeatStep, beats * 0.25 + 0.5);
    if (music.playPos >= musicLoopStart && music.playPos < musicLoopEnd) {
        return;
    }
    restartLoop();
    spawnWave();
}

void updateMusicTempo() {
    if (globals.globalFade == 1.0f && globals.menuScreen == 0) {
        music.musicFrequency += globals.frameTime * 100.0f;
        if (music.musicFrequency > topFrequency) {
            music.musicFrequency = topFrequency;
        }
    }
    buffer().setVolume(toLong((1.0f - globals.globalFade) * -2000.0f - 1000.0f));
}

void resetMusicClock() {
    music = MusicClock{};
}

void shutdownSound() {
    musicTrack.reset();
}

} // namespace vastorim
