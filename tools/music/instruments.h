#pragma once

#include "det_math.h"

#include <vector>

namespace vastorim::music {

inline constexpr int kSampleRate = 22050;

// One mixing bus: a mono signal the instruments add into. Writes past either end are dropped,
// so a note may start or ring beyond the rendered span.
class Bus {
  public:
    explicit Bus(long frames) : samples_(static_cast<std::size_t>(frames), 0.0) {}
    void add(long frame, double value) {
        if (frame >= 0 && frame < size()) {
            samples_[static_cast<std::size_t>(frame)] += value;
        }
    }
    long size() const { return static_cast<long>(samples_.size()); }
    double& operator[](long frame) { return samples_[static_cast<std::size_t>(frame)]; }
    double operator[](long frame) const { return samples_[static_cast<std::size_t>(frame)]; }

  private:
    std::vector<double> samples_;
};

// Drums. Each noisy hit draws from its own seed, so a hit sounds the same wherever the same
// seed recurs: the loop's two ends then carry identical samples.
void addKick(Bus& bus, long start, double gain);
void addSnare(Bus& bus, long start, double gain, unsigned noiseSeed);
void addHat(Bus& bus, long start, double gain, bool open, unsigned noiseSeed);
void addCrash(Bus& bus, long start, double gain, unsigned noiseSeed);

// Pitched voices; length is the held part in frames, each adds its own release after it.
void addBass(Bus& bus, long start, long length, int note, double gain);
void addPad(Bus& bus, long start, long length, int note, double gain);
void addPluck(Bus& bus, long start, int note, double gain);
void addLead(Bus& bus, long start, long length, int note, double gain);

// A feedback echo applied in place, for the lead's space.
void applyEcho(Bus& bus, long delayFrames, double feedback, double wet);

} // namespace vastorim::music
