#include "instruments.h"

#include <cmath>

namespace vastorim::music {

namespace {

constexpr double kDt = 1.0 / kSampleRate;

long seconds(double s) {
    return static_cast<long>(s * kSampleRate);
}

// Softens the discontinuity of a naive saw or pulse edge, which would otherwise alias badly at
// this low sample rate.
double polyBlep(double phase, double step) {
    if (phase < step) {
        const double t = phase / step;
        return t + t - t * t - 1.0;
    }
    if (phase > 1.0 - step) {
        const double t = (phase - 1.0) / step;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}

class Oscillator {
  public:
    explicit Oscillator(double frequency, double startPhase = 0.0)
        : step_(frequency * kDt), phase_(startPhase) {}
    void setFrequency(double frequency) { step_ = frequency * kDt; }
    double saw() {
        const double v = 2.0 * phase_ - 1.0 - polyBlep(phase_, step_);
        advance();
        return v;
    }
    double pulse(double width) {
        double shifted = phase_ + (1.0 - width);
        shifted -= std::floor(shifted);
        const double v =
            (phase_ < width ? 1.0 : -1.0) + polyBlep(phase_, step_) - polyBlep(shifted, step_);
        advance();
        return v;
    }
    double sine() {
        const double v = sineCycle(phase_);
        advance();
        return v;
    }

  private:
    void advance() {
        phase_ += step_;
        if (phase_ >= 1.0) {
            phase_ -= 1.0;
        }
    }
    double step_;
    double phase_;
};

// One-pole low-pass; its coefficient follows a cutoff in Hz.
class LowPass {
  public:
    void setCutoff(double hz) {
        const double x = 2.0 * kPi * hz * kDt;
        coefficient_ = x / (1.0 + x);
    }
    double process(double in) {
        state_ += coefficient_ * (in - state_);
        return state_;
    }

  private:
    double coefficient_ = 1.0;
    double state_ = 0.0;
};

// Multiplies by a fixed factor per frame: an exponential decay without calling exp per sample.
class Decay {
  public:
    explicit Decay(double timeConstantSeconds) : factor_(expApprox(-kDt / timeConstantSeconds)) {}
    double next() {
        const double v = level_;
        level_ *= factor_;
        return v;
    }

  private:
    double factor_;
    double level_ = 1.0;
};

// Linear attack, hold, linear release.
double gate(long i, long attack, long length, long release) {
    if (i < attack) {
        return static_cast<double>(i) / static_cast<double>(attack);
    }
    if (i < length) {
        return 1.0;
    }
    return 1.0 - static_cast<double>(i - length) / static_cast<double>(release);
}

} // namespace

void addKick(Bus& bus, long start, double gain) {
    const long n = seconds(0.40);
    double phase = 0.0;
    Decay amp(0.11);
    Decay pitch(0.030);
    for (long i = 0; i < n; ++i) {
        const double frequency = 45.0 + 115.0 * pitch.next();
        phase += frequency * kDt;
        const double click = i < 40 ? (1.0 - i / 40.0) * 0.5 : 0.0;
        bus.add(start + i, gain * (amp.next() * sineCycle(phase) + click));
    }
}

void addSnare(Bus& bus, long start, double gain, unsigned noiseSeed) {
    Noise noise(noiseSeed);
    const long n = seconds(0.28);
    Oscillator body(185.0);
    Decay bodyAmp(0.045);
    Decay noiseAmp(0.075);
    double previous = 0.0;
    for (long i = 0; i < n; ++i) {
        const double white = noise.next();
        const double bright = white - 0.6 * previous; // tilts the noise towards the top
        previous = white;
        bus.add(start + i,
                gain * (0.55 * body.sine() * bodyAmp.next() + 0.65 * bright * noiseAmp.next()));
    }
}

void addHat(Bus& bus, long start, double gain, bool open, unsigned noiseSeed) {
    Noise noise(noiseSeed);
    const long n = seconds(open ? 0.30 : 0.07);
    Decay amp(open ? 0.09 : 0.018);
    double previous = 0.0;
    for (long i = 0; i < n; ++i) {
        const double white = noise.next();
        const double high = white - previous; // first difference: only the hiss remains
        previous = white;
        bus.add(start + i, gain * 0.5 * high * amp.next());
    }
}

void addCrash(Bus& bus, long start, double gain, unsigned noiseSeed) {
    Noise noise(noiseSeed);
    const long n = seconds(1.8);
    Decay amp(0.55);
    double previous = 0.0;
    for (long i = 0; i < n; ++i) {
        const double white = noise.next();
        const double high = white - 0.85 * previous;
        previous = white;
        bus.add(start + i, gain * 0.45 * high * amp.next());
    }
}

void addBass(Bus& bus, long start, long length, int note, double gain) {
    const long release = seconds(0.02);
    const double frequency = noteFrequency(note);
    Oscillator saw(frequency);
    Oscillator sub(frequency);
    LowPass filter;
    LowPass smooth;
    Decay sweep(0.06);
    for (long i = 0; i < length + release; ++i) {
        filter.setCutoff(220.0 + 1500.0 * sweep.next());
        smooth.setCutoff(2400.0);
        const double raw = 0.7 * saw.saw() + 0.5 * sub.sine();
        const double v = smooth.process(filter.process(raw));
        bus.add(start + i, gain * v * gate(i, 30, length, release));
    }
}

void addPad(Bus& bus, long start, long length, int note, double gain) {
    const long attack = seconds(0.12);
    const long release = seconds(0.35);
    const double frequency = noteFrequency(note);
    Oscillator a(frequency * semitoneRatio(0.09));
    Oscillator b(frequency * semitoneRatio(-0.09), 0.37);
    LowPass filter;
    filter.setCutoff(1100.0);
    for (long i = 0; i < length + release; ++i) {
        const double v = filter.process(0.5 * (a.saw() + b.saw()));
        bus.add(start + i, gain * v * gate(i, attack, length, release));
    }
}

void addPluck(Bus& bus, long start, int note, double gain) {
    const long n = seconds(0.22);
    Oscillator square(noteFrequency(note));
    LowPass filter;
    Decay amp(0.07);
    Decay brightness(0.04);
    for (long i = 0; i < n; ++i) {
        filter.setCutoff(600.0 + 4000.0 * brightness.next());
        const double fadeOut = i > n - 200 ? static_cast<double>(n - i) / 200.0 : 1.0;
        bus.add(start + i, gain * filter.process(square.pulse(0.5)) * amp.next() * fadeOut);
    }
}

void addLead(Bus& bus, long start, long length, int note, double gain) {
    const long release = seconds(0.06);
    const double frequency = noteFrequency(note);
    Oscillator pulse(frequency);
    Oscillator saw(frequency * semitoneRatio(0.12), 0.21);
    LowPass filter;
    filter.setCutoff(3200.0);
    double vibratoPhase = 0.0;
    const long vibratoStart = seconds(0.18);
    for (long i = 0; i < length + release; ++i) {
        vibratoPhase += 5.5 * kDt;
        const double depth = i > vibratoStart ? 0.25 : 0.0;
        const double bend = semitoneRatio(depth * sineCycle(vibratoPhase));
        pulse.setFrequency(frequency * bend);
        saw.setFrequency(frequency * semitoneRatio(0.12) * bend);
        const double raw = 0.6 * pulse.pulse(0.3) + 0.4 * saw.saw();
        bus.add(start + i, gain * filter.process(raw) * gate(i, 60, length, release));
    }
}

void applyEcho(Bus& bus, long delayFrames, double feedback, double wet) {
    std::vector<double> line(static_cast<std::size_t>(delayFrames), 0.0);
    std::size_t at = 0;
    for (long i = 0; i < bus.size(); ++i) {
        const double delayed = line[at];
        line[at] = bus[i] + delayed * feedback;
        bus[i] += wet * delayed;
        at = (at + 1) % line.size();
    }
}

} // namespace vastorim::music
