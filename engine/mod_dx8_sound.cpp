#include "engine/mod_dx8_sound.h"

#include "engine/app_path.h"
#include "engine/errors.h"
#include "engine/mod_vbp_start.h"
#include "engine/numbers.h"
#include "engine/random.h"
#include "platform/audio.h"

#include <memory>
#include <stdexcept>
#include <string>

namespace vastorim {

MusicClock music;

namespace {

struct SoundState {
    platform::AudioDevice* device = nullptr;
    std::unique_ptr<platform::AudioBuffer> musicBuffer;
};

SoundState sound;

constexpr double startFrequency = 22000;
constexpr double topFrequency = 50000;
constexpr std::int32_t normalVolume = -1000;

platform::AudioBuffer& buffer() {
    if (!sound.musicBuffer) {
        throw std::logic_error("the music is used before initSound loaded it");
    }
    return *sound.musicBuffer;
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

} // namespace

void setAudioDevice(platform::AudioDevice* device) {
    sound.device = device;
}

void initSound() {
    if (sound.device == nullptr) {
        throw std::logic_error("initSound needs an audio device");
    }
    const std::string path = programFile("sound/music.wav");
    try {
        sound.musicBuffer = sound.device->loadWav(path);
    } catch (const std::runtime_error& error) {
        throw DataError(path, 0, "", error.what());
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

} // namespace vastorim
