// The synthesiser's building blocks.
#include "content/Synth.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace brakkon::audio {

std::uint32_t NoiseGenerator::NextBits()
{
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
}

double NoiseGenerator::NextUnit()
{
    // The top 24 bits give an exact fraction in [0, 1).
    return static_cast<double>(NextBits() >> 8) / 16777216.0;
}

double NoiseGenerator::Next()
{
    return NextUnit() * 2.0 - 1.0;
}

double OnePoleLowPass::Step(double input, double cutoffHz)
{
    const double a = 1.0 - std::exp(-2.0 * std::numbers::pi * cutoffHz / sampleRate_);
    state_ += a * (input - state_);
    return state_;
}

double SineOscillator::Step(double frequencyHz)
{
    const double out = std::sin(phase_);
    phase_ += 2.0 * std::numbers::pi * frequencyHz / sampleRate_;
    phase_ = std::fmod(phase_, 2.0 * std::numbers::pi);
    return out;
}

double AttackDecay(double t, double attack, double decay)
{
    if (t < 0) return 0;
    if (t < attack) return t / attack;
    return std::exp(-(t - attack) / decay);
}

void BlockDc(std::vector<double>& samples, double sampleRate)
{
    const double r = std::exp(-2.0 * std::numbers::pi * 10.0 / sampleRate);
    double lastIn = 0;
    double lastOut = 0;
    for (double& s : samples) {
        const double out = s - lastIn + r * lastOut;
        lastIn = s;
        lastOut = out;
        s = out;
    }
}

void FadeOut(std::vector<double>& samples, double sampleRate, double seconds)
{
    const auto count = std::min(samples.size(), static_cast<std::size_t>(seconds * sampleRate));
    const std::size_t start = samples.size() - count;
    for (std::size_t i = 0; i < count; ++i)
        samples[start + i] *= static_cast<double>(count - 1 - i) / static_cast<double>(count);
}

void Normalise(std::vector<double>& samples, double peak)
{
    double largest = 0;
    for (double s : samples) largest = std::max(largest, std::abs(s));
    if (largest == 0) return;
    const double gain = peak / largest;
    for (double& s : samples) s *= gain;
}

void LowPassLoop(std::vector<double>& samples, double sampleRate, double cutoffHz)
{
    OnePoleLowPass filter(sampleRate);
    for (double s : samples) filter.Step(s, cutoffHz);
    for (double& s : samples) s = filter.Step(s, cutoffHz);
}

} // namespace brakkon::audio
