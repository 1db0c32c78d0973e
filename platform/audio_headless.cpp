#include "platform/audio_headless.h"

#include "platform/playback_cursor.h"
#include "platform/wav_file.h"

namespace vastorim::platform {

namespace {

// Plays nothing: a playing buffer's position follows the clock at its rate.
class HeadlessAudioBuffer : public AudioBuffer {
  public:
    HeadlessAudioBuffer(const WavSound& sound, MillisecondClock clock)
        : clock_(std::move(clock)), lastMs_(clock_()), channels_(sound.channels) {
        cursor_.frameCount = sound.frameCount;
        cursor_.bytesPerFrame = sound.bytesPerFrame;
        cursor_.setRate(sound.sampleRate);
    }

    void play() override {
        catchUp();
        cursor_.start();
    }
    void stop() override {
        catchUp();
        cursor_.playing = false;
    }
    bool playing() override {
        catchUp();
        return cursor_.playing;
    }
    std::uint32_t position() override {
        catchUp();
        return cursor_.bytes();
    }
    void setPosition(std::uint32_t bytes) override {
        catchUp();
        cursor_.seek(bytes);
    }
    void setRate(std::int32_t framesPerSecond) override {
        catchUp();
        cursor_.setRate(framesPerSecond);
    }
    void setVolume(std::int32_t) override {}
    std::uint32_t sizeInBytes() const override { return cursor_.sizeInBytes(); }
    std::uint32_t bytesPerFrame() const override { return cursor_.bytesPerFrame; }
    int channels() const override { return channels_; }

  private:
    // Brings the position up to the clock's now at the rate that held since the last change.
    void catchUp() {
        const std::int64_t now = clock_();
        if (cursor_.playing) {
            cursor_.advance(static_cast<double>(now - lastMs_) * cursor_.rate / 1000.0);
        }
        lastMs_ = now;
    }

    MillisecondClock clock_;
    std::int64_t lastMs_;
    int channels_;
    PlaybackCursor cursor_;
};

} // namespace

std::unique_ptr<AudioBuffer> HeadlessAudioDevice::loadWav(const std::string& path) {
    return std::make_unique<HeadlessAudioBuffer>(readWav(path, false), clock_);
}

std::unique_ptr<AudioDevice> createHeadlessAudioDevice(MillisecondClock clock) {
    return std::make_unique<HeadlessAudioDevice>(std::move(clock));
}

} // namespace vastorim::platform
