// Building blocks of the effect synthesiser: a seeded noise source, filters,
// an oscillator and envelopes. Everything is plain arithmetic on doubles at
// a fixed sample rate, so the same call gives the same samples every time.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace brakkon::audio {

/// A seeded xorshift generator of white noise; each instance owns its state.
class NoiseGenerator {
public:
    explicit NoiseGenerator(std::uint32_t seed) : state_(seed == 0 ? 0x9E3779B9u : seed) {}

    /// The next raw 32-bit value.
    std::uint32_t NextBits();
    /// The next sample, uniform in [-1, 1).
    double Next();
    /// The next value, uniform in [0, 1).
    double NextUnit();

private:
    std::uint32_t state_; ///< never 0
};

/// A one-pole low-pass filter whose cut-off may change from sample to sample.
class OnePoleLowPass {
public:
    explicit OnePoleLowPass(double sampleRate) : sampleRate_(sampleRate) {}
    /// Filters one sample with the given cut-off in Hz.
    double Step(double input, double cutoffHz);

private:
    double sampleRate_; ///< samples per second
    double state_ = 0;  ///< last output
};

/// A sine oscillator that keeps its phase while its frequency glides.
class SineOscillator {
public:
    explicit SineOscillator(double sampleRate, double phase = 0) : sampleRate_(sampleRate), phase_(phase) {}
    /// The current sample, then advances by one sample at the given frequency.
    double Step(double frequencyHz);

private:
    double sampleRate_; ///< samples per second
    double phase_;      ///< radians, kept in [0, 2 pi)
};

/// A linear rise over `attack` seconds, then an exponential fall with time
/// constant `decay` seconds; 0 before t = 0.
[[nodiscard]] double AttackDecay(double t, double attack, double decay);

/// Removes the constant offset with a gentle first-order high-pass
/// (cut-off near 10 Hz), in place.
void BlockDc(std::vector<double>& samples, double sampleRate);

/// Ramps the last `seconds` of the samples linearly down to silence.
void FadeOut(std::vector<double>& samples, double sampleRate, double seconds);

/// Scales the samples so that the largest magnitude equals `peak`; silence
/// stays silence.
void Normalise(std::vector<double>& samples, double peak);

/// Low-pass filters a loop as a loop: the filter runs over it once to settle
/// and then again for the output, so the end joins the start without a step.
void LowPassLoop(std::vector<double>& samples, double sampleRate, double cutoffHz);

} // namespace brakkon::audio
