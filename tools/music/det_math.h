#pragma once

// Sine and exponential built from plain IEEE arithmetic only, so the generated track does not
// depend on the C library's transcendental functions and comes out bit-identical wherever the
// same compiler builds it.
namespace vastorim::music {

inline constexpr double kPi = 3.14159265358979323846;

// sin(2*pi*phase) for any phase; one cycle per unit of phase.
double sineCycle(double phase);

double expApprox(double x);

// 2^(semitones/12)
double semitoneRatio(double semitones);

// Frequency in Hz of a MIDI note number (69 = A 440 Hz).
double noteFrequency(int midiNote);

// Uniform values in [-1, 1) from a 32-bit xorshift generator with a fixed seed.
class Noise {
  public:
    explicit Noise(unsigned seed);
    double next();

  private:
    unsigned state_;
};

} // namespace vastorim::music
