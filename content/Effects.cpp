// The recipes of the four effects. Each mixes a few voices, each voice being
// an oscillator or filtered noise under its own envelope; the mix is freed of
// any constant offset and scaled to a fixed peak.
#include "content/Effects.h"

#include "content/Synth.h"
#include "content/Wav.h"
#include "game/SoundEffects.h"

#include <array>
#include <cmath>
#include <numbers>

namespace brakkon::audio {
namespace {

constexpr double Rate = EffectSampleRate;

std::size_t SampleCount(double seconds)
{
    return static_cast<std::size_t>(seconds * Rate);
}

// A blast: noise whose low-pass cut-off falls from a bright crack to a dull
// roar, a deeper rumble that lasts longer, a falling thump, and a few crackles.
std::vector<double> Explode()
{
    std::vector<double> out(SampleCount(1.0));
    NoiseGenerator noise(0xB1A57u);
    NoiseGenerator crackleDice(0xC0FFEEu);
    OnePoleLowPass body1(Rate), body2(Rate), rumble1(Rate), rumble2(Rate), crackleTone(Rate);
    SineOscillator thump(Rate);
    double crackle = 0;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = static_cast<double>(i) / Rate;
        const double white = noise.Next();
        const double cutoff = 180.0 + 2600.0 * std::exp(-t / 0.10);
        const double body = body2.Step(body1.Step(white, cutoff), cutoff) * AttackDecay(t, 0.004, 0.22);
        const double rumble = rumble2.Step(rumble1.Step(white, 110.0), 110.0) * AttackDecay(t, 0.02, 0.40);
        const double thumpHz = 38.0 + 42.0 * std::exp(-t / 0.07);
        const double boom = thump.Step(thumpHz) * AttackDecay(t, 0.003, 0.16);
        // Sparse debris: an impulse now and then, rarer as the blast dies.
        if (crackleDice.NextUnit() < 0.0015 * std::exp(-t / 0.25)) crackle += crackleDice.Next();
        crackle *= 0.995;
        const double debris = crackleTone.Step(crackle, 1500.0);
        out[i] = 1.0 * body + 2.2 * rumble + 0.55 * boom + 0.8 * debris;
    }
    BlockDc(out, Rate);
    FadeOut(out, Rate, 0.08);
    Normalise(out, 0.8);
    return out;
}

// One strike of a small bell: inharmonic partials, the higher ones dying faster.
void AddBellStrike(std::vector<double>& out, double start, double baseHz, double level, double length)
{
    struct Partial {
        double ratio, amplitude, decay;
    };
    constexpr std::array<Partial, 5> partials = {{
        {1.0, 1.0, 0.22},
        {2.0, 0.45, 0.14},
        {2.76, 0.30, 0.09},
        {4.07, 0.18, 0.06},
        {5.40, 0.10, 0.04},
    }};
    for (const Partial& p : partials) {
        SineOscillator osc(Rate);
        const double decay = p.decay * length;
        for (std::size_t i = SampleCount(start); i < out.size(); ++i) {
            const double t = static_cast<double>(i) / Rate - start;
            out[i] += level * p.amplitude * osc.Step(baseHz * p.ratio) * AttackDecay(t, 0.002, decay);
        }
    }
}

// A bright two-note chime, the second note a fifth above the first.
std::vector<double> Ding()
{
    std::vector<double> out(SampleCount(0.5));
    AddBellStrike(out, 0.0, 1318.5, 0.8, 0.35);
    AddBellStrike(out, 0.07, 1975.5, 1.0, 1.0);
    BlockDc(out, Rate);
    FadeOut(out, Rate, 0.04);
    Normalise(out, 0.7);
    return out;
}

// A shot: a short high crack over a quick low thump.
std::vector<double> Gun()
{
    std::vector<double> out(SampleCount(0.18));
    NoiseGenerator noise(0x60A7u);
    OnePoleLowPass crackLow(Rate), bodyLow1(Rate), bodyLow2(Rate);
    SineOscillator thump(Rate);
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = static_cast<double>(i) / Rate;
        const double white = noise.Next();
        const double crack = (white - crackLow.Step(white, 1800.0)) * AttackDecay(t, 0.0008, 0.016);
        const double body = bodyLow2.Step(bodyLow1.Step(white, 900.0), 900.0) * AttackDecay(t, 0.001, 0.045);
        const double boom = thump.Step(70.0 + 130.0 * std::exp(-t / 0.025)) * AttackDecay(t, 0.001, 0.04);
        out[i] = 2.4 * crack + 1.6 * body + 0.6 * boom;
    }
    BlockDc(out, Rate);
    FadeOut(out, Rate, 0.03);
    Normalise(out, 0.75);
    return out;
}

// An engine that loops: a low buzz of whole cycles in the loop, pulsed by the
// cylinders, with filtered noise and the clank of the tracks. Every periodic
// part repeats a whole number of times, so the last sample leads into the first.
std::vector<double> Move()
{
    constexpr double seconds = 0.5;
    constexpr double engineHz = 46.0;  // 23 cycles in the loop
    constexpr double pulseHz = 12.0;   // 6 pulses
    constexpr double clankHz = 8.0;    // 4 clanks
    const std::size_t count = SampleCount(seconds);

    std::vector<double> buzz(count), grit(count), clank(count);
    NoiseGenerator noise(0xE4617Eu);
    for (std::size_t i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / Rate;
        for (int k = 1; k <= 8; ++k)
            buzz[i] += std::sin(2.0 * std::numbers::pi * engineHz * k * t + 0.7 * k) / k;
        grit[i] = noise.Next();
        const double sinceClank = std::fmod(t, 1.0 / clankHz);
        clank[i] = noise.Next() * std::exp(-sinceClank / 0.006);
    }
    LowPassLoop(buzz, Rate, 320.0);
    LowPassLoop(grit, Rate, 200.0);
    LowPassLoop(grit, Rate, 200.0);
    LowPassLoop(clank, Rate, 2500.0);

    std::vector<double> out(count);
    double mean = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / Rate;
        const double pulse = 0.5 + 0.5 * std::cos(2.0 * std::numbers::pi * pulseHz * t);
        const double throb = 0.6 + 0.4 * pulse * pulse;
        out[i] = throb * (1.0 * buzz[i] + 3.0 * grit[i]) + 0.12 * clank[i];
        mean += out[i];
    }
    mean /= static_cast<double>(count);
    for (double& s : out) s -= mean;
    Normalise(out, 0.6);
    return out;
}

constexpr std::array<EffectName, 4> Names = {{
    {Effect::Explode, "explode", EffectFile(SoundEffect::Explode)},
    {Effect::Ding, "ding", EffectFile(SoundEffect::Bonus)},
    {Effect::Gun, "gun", EffectFile(SoundEffect::Gun)},
    {Effect::Move, "move", EffectFile(SoundEffect::Move)},
}};

} // namespace

std::span<const EffectName> EffectNames()
{
    return Names;
}

std::optional<Effect> EffectByName(std::string_view name)
{
    for (const EffectName& n : Names)
        if (n.Name == name) return n.Kind;
    return std::nullopt;
}

std::vector<double> SynthesiseEffect(Effect effect)
{
    switch (effect) {
    case Effect::Explode: return Explode();
    case Effect::Ding: return Ding();
    case Effect::Gun: return Gun();
    case Effect::Move: return Move();
    }
    return {};
}

std::vector<std::uint8_t> EffectWav(Effect effect)
{
    const std::vector<double> samples = SynthesiseEffect(effect);
    return EncodeWav(ToPcm16(samples), EffectSampleRate);
}

} // namespace brakkon::audio
