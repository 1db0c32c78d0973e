#include "det_math.h"

#include <cmath>
#include <cstdint>

namespace vastorim::music {

double sineCycle(double phase) {
    double p = phase - std::floor(phase); // [0, 1)
    // Fold onto a quarter wave so the polynomial only has to cover [0, pi/2].
    double sign = 1.0;
    if (p >= 0.5) {
        p -= 0.5;
        sign = -1.0;
    }
    if (p > 0.25) {
        p = 0.5 - p;
    }
    const double x = p * 2.0 * kPi;
    const double x2 = x * x;
    // Taylor series to x^13: error below 1e-9 on [0, pi/2].
    double term = x;
    double sum = x;
    for (int k = 1; k <= 6; ++k) {
        term = -term * x2 / static_cast<double>((2 * k) * (2 * k + 1));
        sum += term;
    }
    return sign * sum;
}

double expApprox(double x) {
    constexpr double ln2 = 0.69314718055994530942;
    const double k = std::floor(x / ln2 + 0.5);
    const double r = x - k * ln2; // |r| <= ln2 / 2
    double term = 1.0;
    double sum = 1.0;
    for (int n = 1; n <= 14; ++n) {
        term = term * r / static_cast<double>(n);
        sum += term;
    }
    return std::ldexp(sum, static_cast<int>(k));
}

double semitoneRatio(double semitones) {
    constexpr double ln2 = 0.69314718055994530942;
    return expApprox(semitones / 12.0 * ln2);
}

double noteFrequency(int midiNote) {
    return 440.0 * semitoneRatio(midiNote - 69);
}

Noise::Noise(unsigned seed) {
    // Scrambles nearby seeds apart: xorshift started from small numbers begins near zero.
    unsigned h = seed * 0x9e3779b9u + 0x7f4a7c15u;
    h = (h ^ (h >> 16)) * 0x85ebca6bu;
    h = (h ^ (h >> 13)) * 0xc2b2ae35u;
    h ^= h >> 16;
    state_ = h == 0 ? 0x9e3779b9u : h;
}

double Noise::next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return static_cast<double>(state_) / 2147483648.0 - 1.0;
}

} // namespace vastorim::music
