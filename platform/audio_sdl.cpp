// The sound card through SDL: every playing buffer is mixed in SDL's audio callback, resampled
// from its playback rate to the device rate by linear interpolation. Positions are reported for
// the frame being heard, not the one being mixed: each mixed block is remembered with the time
// it reaches the speaker (one device buffer after it was mixed).

#include "platform/audio.h"
#include "platform/audio_headless.h"
#include "platform/playback_cursor.h"
#include "platform/wav_file.h"

#include <SDL.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <iostream>
#include <mutex>
#include <vector>

namespace vastorim::platform {

namespace {

constexpr int deviceRate = 44100;
constexpr int deviceChannels = 2;
constexpr int deviceBufferFrames = 1024;

double secondsNow() {
    return static_cast<double>(SDL_GetPerformanceCounter()) /
           static_cast<double>(SDL_GetPerformanceFrequency());
}

// A block of the sound that went to the device: which frames, and when it is heard.
struct MixedBlock {
    double heardAt = 0;
    double duration = 0;
    double firstFrame = 0;
    double endFrame = 0;
};

class SdlAudioBuffer;

// The open device and the buffers it mixes. Shared with the buffers so that a buffer outliving
// its device finds it closed rather than gone.
struct Mixer {
    SDL_AudioDeviceID id = 0;
    SDL_AudioSpec spec{};
    std::vector<SdlAudioBuffer*> voices;
    std::vector<float> mix;

    void lock() {
        if (id != 0) {
            SDL_LockAudioDevice(id);
        }
    }
    void unlock() {
        if (id != 0) {
            SDL_UnlockAudioDevice(id);
        }
    }
    void render(Uint8* stream, int length);
};

class SdlAudioBuffer : public AudioBuffer {
  public:
    SdlAudioBuffer(WavSound sound, std::shared_ptr<Mixer> mixer)
        : sound_(std::move(sound)), mixer_(std::move(mixer)) {
        cursor_.frameCount = sound_.frameCount;
        cursor_.bytesPerFrame = sound_.bytesPerFrame;
        cursor_.setRate(sound_.sampleRate);
        const std::lock_guard guard(*mixer_);
        mixer_->voices.push_back(this);
    }

    ~SdlAudioBuffer() override {
        const std::lock_guard guard(*mixer_);
        std::erase(mixer_->voices, this);
    }

    void play() override {
        const std::lock_guard guard(*mixer_);
        cursor_.start();
        forgetBlocks();
    }
    void stop() override {
        const std::lock_guard guard(*mixer_);
        cursor_.frame = heardFrame();
        cursor_.playing = false;
        forgetBlocks();
    }
    bool playing() override {
        const std::lock_guard guard(*mixer_);
        return cursor_.playing;
    }
    std::uint32_t position() override {
        const std::lock_guard guard(*mixer_);
        return cursor_.bytesAt(heardFrame());
    }
    void setPosition(std::uint32_t bytes) override {
        const std::lock_guard guard(*mixer_);
        cursor_.seek(bytes);
        forgetBlocks();
    }
    void setRate(std::int32_t framesPerSecond) override {
        const std::lock_guard guard(*mixer_);
        cursor_.setRate(framesPerSecond);
    }
    void setVolume(std::int32_t hundredthsOfDecibel) override {
        const std::lock_guard guard(*mixer_);
        gain_ =
            static_cast<float>(std::pow(10.0, std::clamp(hundredthsOfDecibel, -10000, 0) / 2000.0));
    }
    std::uint32_t sizeInBytes() const override { return cursor_.sizeInBytes(); }
    std::uint32_t bytesPerFrame() const override { return cursor_.bytesPerFrame; }
    int channels() const override { return sound_.channels; }

    // Called with the device locked: adds this buffer's next frames to the mix.
    void mixInto(std::vector<float>& mix, int outFrames, int outRate) {
        if (!cursor_.playing) {
            return;
        }
        MixedBlock block;
        block.firstFrame = cursor_.frame;
        block.duration = static_cast<double>(outFrames) / outRate;
        block.heardAt = secondsNow() + block.duration;
        const double step = cursor_.rate / outRate;
        for (int i = 0; i < outFrames && cursor_.playing; ++i) {
            addFrame(mix, i);
            cursor_.advance(step);
        }
        block.endFrame = cursor_.frame;
        blocks_[nextBlock_] = block;
        nextBlock_ = (nextBlock_ + 1) % blocks_.size();
    }

  private:
    void addFrame(std::vector<float>& mix, int outIndex) const {
        const auto first = static_cast<std::uint32_t>(cursor_.frame);
        const std::uint32_t second = std::min(first + 1, sound_.frameCount - 1);
        const auto weight = static_cast<float>(cursor_.frame - first);
        const int channels = sound_.channels;
        for (int c = 0; c < deviceChannels; ++c) {
            const int from = std::min(c, channels - 1);
            const float a = sound_.samples[static_cast<std::size_t>(first) * channels + from];
            const float b = sound_.samples[static_cast<std::size_t>(second) * channels + from];
            mix[static_cast<std::size_t>(outIndex) * deviceChannels + c] +=
                gain_ * (a + (b - a) * weight);
        }
    }

    // The frame at the speaker now: inside the latest block already reaching it, or, before any
    // block since the last seek has, where the sound was set to start.
    double heardFrame() const {
        if (!cursor_.playing) {
            return cursor_.frame;
        }
        const double now = secondsNow();
        const MixedBlock* current = nullptr;
        for (const MixedBlock& block : blocks_) {
            if (block.duration > 0 && block.heardAt <= now &&
                (current == nullptr || block.heardAt > current->heardAt)) {
                current = &block;
            }
        }
        if (current == nullptr) {
            return seekFrame_;
        }
        const double into = std::min((now - current->heardAt) / current->duration, 1.0);
        return current->firstFrame + (current->endFrame - current->firstFrame) * into;
    }

    void forgetBlocks() {
        blocks_.fill(MixedBlock{});
        seekFrame_ = cursor_.frame;
    }

    WavSound sound_;
    std::shared_ptr<Mixer> mixer_;
    PlaybackCursor cursor_;
    float gain_ = 1;
    std::array<MixedBlock, 4> blocks_{};
    std::size_t nextBlock_ = 0;
    double seekFrame_ = 0;
};

void Mixer::render(Uint8* stream, int length) {
    const int frames = length / static_cast<int>(sizeof(Sint16) * deviceChannels);
    mix.assign(static_cast<std::size_t>(frames) * deviceChannels, 0.0f);
    for (SdlAudioBuffer* voice : voices) {
        voice->mixInto(mix, frames, spec.freq);
    }
    auto* out = reinterpret_cast<Sint16*>(stream);
    for (std::size_t i = 0; i < mix.size(); ++i) {
        out[i] = static_cast<Sint16>(std::lround(std::clamp(mix[i], -1.0f, 1.0f) * 32767.0f));
    }
}

void audioCallback(void* user, Uint8* stream, int length) {
    static_cast<Mixer*>(user)->render(stream, length);
}

class SdlAudioDevice : public AudioDevice {
  public:
    explicit SdlAudioDevice(std::shared_ptr<Mixer> mixer) : mixer_(std::move(mixer)) {}
    ~SdlAudioDevice() override {
        SDL_CloseAudioDevice(mixer_->id);
        mixer_->id = 0;
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }

    std::unique_ptr<AudioBuffer> loadWav(const std::string& path) override {
        return std::make_unique<SdlAudioBuffer>(readWav(path, true), mixer_);
    }

  private:
    std::shared_ptr<Mixer> mixer_;
};

std::int64_t steadyMilliseconds() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

std::unique_ptr<AudioDevice> silentDevice(const std::string& reason) {
    std::cerr << "No sound: " << reason << "; the music keeps time silently.\n";
    return std::make_unique<HeadlessAudioDevice>(steadyMilliseconds);
}

} // namespace

std::unique_ptr<AudioDevice> createAudioDevice() {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        return silentDevice(SDL_GetError());
    }
    auto mixer = std::make_shared<Mixer>();
    SDL_AudioSpec wanted{};
    wanted.freq = deviceRate;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = deviceChannels;
    wanted.samples = deviceBufferFrames;
    wanted.callback = audioCallback;
    wanted.userdata = mixer.get();
    mixer->id = SDL_OpenAudioDevice(nullptr, 0, &wanted, &mixer->spec, 0);
    if (mixer->id == 0) {
        const std::string reason = SDL_GetError();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return silentDevice(reason);
    }
    SDL_PauseAudioDevice(mixer->id, 0);
    return std::make_unique<SdlAudioDevice>(std::move(mixer));
}

} // namespace vastorim::platform
