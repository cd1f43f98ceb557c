// Independent readers of the WAV and MIDI files the audio tool writes, used by
// the tests to check the files from the outside, plus small signal measures.
#pragma once

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdint>
#include <map>
#include <numbers>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace brakkon::test {

inline std::uint32_t Le32(std::span<const std::uint8_t> b, std::size_t at)
{
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

inline std::uint16_t Le16(std::span<const std::uint8_t> b, std::size_t at)
{
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

inline std::uint32_t Be32(std::span<const std::uint8_t> b, std::size_t at)
{
    return (static_cast<std::uint32_t>(b[at]) << 24) | (b[at + 1] << 16) | (b[at + 2] << 8) | b[at + 3];
}

inline std::uint16_t Be16(std::span<const std::uint8_t> b, std::size_t at)
{
    return static_cast<std::uint16_t>((b[at] << 8) | b[at + 1]);
}

inline bool TagAt(std::span<const std::uint8_t> b, std::size_t at, const char* tag)
{
    return at + 4 <= b.size() && std::equal(tag, tag + 4, b.begin() + static_cast<std::ptrdiff_t>(at));
}

/// A result of type T that carries only the fault `error`.
template <class T> T Failed(std::string error)
{
    T result;
    result.Error = std::move(error);
    return result;
}

/// What a WAV file says about itself; `Error` names the first fault found.
struct WavInfo {
    std::string Error;              ///< empty when the file is sound
    std::uint16_t Format = 0;       ///< 1 = PCM
    std::uint16_t Channels = 0;     ///< 1 = mono
    std::uint32_t SampleRate = 0;   ///< samples per second
    std::uint16_t Bits = 0;         ///< bits per sample
    std::vector<double> Samples;    ///< -1..1

    [[nodiscard]] double Seconds() const { return SampleRate ? static_cast<double>(Samples.size()) / SampleRate : 0; }
};

/// Walks the RIFF chunks of a WAV file and checks every size against the file.
inline WavInfo ReadWav(std::span<const std::uint8_t> b)
{
    WavInfo info;
    if (b.size() < 12 || !TagAt(b, 0, "RIFF") || !TagAt(b, 8, "WAVE")) return Failed<WavInfo>("not RIFF/WAVE");
    if (Le32(b, 4) != b.size() - 8) return Failed<WavInfo>("RIFF size " + std::to_string(Le32(b, 4)) + " != file size - 8");
    bool haveFmt = false;
    bool haveData = false;
    for (std::size_t at = 12; at < b.size();) {
        if (at + 8 > b.size()) return Failed<WavInfo>("truncated chunk header");
        const std::uint32_t size = Le32(b, at + 4);
        if (size > b.size() - at - 8) return Failed<WavInfo>("chunk runs past the end");
        if (TagAt(b, at, "fmt ")) {
            if (size < 16) return Failed<WavInfo>("short fmt chunk");
            info.Format = Le16(b, at + 8);
            info.Channels = Le16(b, at + 10);
            info.SampleRate = Le32(b, at + 12);
            const std::uint32_t byteRate = Le32(b, at + 16);
            const std::uint16_t align = Le16(b, at + 20);
            info.Bits = Le16(b, at + 22);
            if (align != info.Channels * info.Bits / 8) return Failed<WavInfo>("block align inconsistent");
            if (byteRate != info.SampleRate * align) return Failed<WavInfo>("byte rate inconsistent");
            haveFmt = true;
        } else if (TagAt(b, at, "data")) {
            if (!haveFmt || info.Bits != 16) return Failed<WavInfo>("data before fmt, or not 16-bit");
            for (std::size_t i = 0; i + 1 < size; i += 2)
                info.Samples.push_back(static_cast<std::int16_t>(Le16(b, at + 8 + i)) / 32768.0);
            haveData = true;
        }
        at += 8 + size + (size & 1);
    }
    if (!haveFmt || !haveData) return Failed<WavInfo>("fmt or data chunk missing");
    return info;
}

/// What a MIDI file holds, gathered by walking every event of every track.
struct MidiInfo {
    std::string Error;                   ///< empty when the file is sound
    std::uint16_t Format = 0;            ///< 0, 1 or 2
    std::uint16_t Division = 0;          ///< ticks per quarter
    std::vector<std::uint32_t> TrackEnds; ///< tick of each track's end-of-track
    std::map<std::uint32_t, std::uint32_t> Tempos; ///< tick -> microseconds per quarter
    std::size_t NoteOns = 0;             ///< note-ons with velocity > 0
    std::size_t NoteOffs = 0;            ///< note-offs, and note-ons with velocity 0
    std::size_t Unbalanced = 0;          ///< (channel, key) pairs whose ons and offs differ, or an off before its on
    std::map<int, int> Programs;         ///< channel -> last program
    std::size_t TrackCount = 0;          ///< from the header

    /// The playing time of the longest track, following the tempo map.
    [[nodiscard]] double Seconds() const
    {
        const std::uint32_t end = TrackEnds.empty() ? 0 : *std::max_element(TrackEnds.begin(), TrackEnds.end());
        double seconds = 0;
        std::uint32_t tick = 0;
        std::uint32_t tempo = 500000;
        for (const auto& [at, us] : Tempos) {
            if (at >= end) break;
            seconds += (at - tick) * (tempo / 1e6) / Division;
            tick = at;
            tempo = us;
        }
        return seconds + (end - tick) * (tempo / 1e6) / Division;
    }
};

inline std::optional<std::uint32_t> ReadVarLen(std::span<const std::uint8_t> b, std::size_t& at, std::size_t end)
{
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) {
        if (at >= end) return std::nullopt;
        const std::uint8_t byte = b[at++];
        value = (value << 7) | (byte & 0x7F);
        if ((byte & 0x80) == 0) return value;
    }
    return std::nullopt;
}

inline MidiInfo ReadMidi(std::span<const std::uint8_t> b)
{
    MidiInfo info;
    if (b.size() < 14 || !TagAt(b, 0, "MThd") || Be32(b, 4) != 6) return Failed<MidiInfo>("no MThd of length 6");
    info.Format = Be16(b, 8);
    info.TrackCount = Be16(b, 10);
    info.Division = Be16(b, 12);
    if (info.Division == 0 || (info.Division & 0x8000)) return Failed<MidiInfo>("division is not ticks per quarter");
    std::map<std::pair<int, int>, int> open;
    std::size_t at = 14;
    while (at < b.size()) {
        if (at + 8 > b.size() || !TagAt(b, at, "MTrk")) return Failed<MidiInfo>("expected MTrk at " + std::to_string(at));
        const std::uint32_t size = Be32(b, at + 4);
        const std::size_t end = at + 8 + size;
        if (end > b.size()) return Failed<MidiInfo>("track length runs past the end");
        std::size_t p = at + 8;
        std::uint32_t tick = 0;
        std::uint8_t status = 0;
        bool ended = false;
        while (p < end && !ended) {
            const auto delta = ReadVarLen(b, p, end);
            if (!delta || p >= end) return Failed<MidiInfo>("bad delta time");
            tick += *delta;
            if (b[p] & 0x80) status = b[p++];
            if (status == 0xFF) {
                if (p >= end) return Failed<MidiInfo>("truncated meta event");
                const std::uint8_t type = b[p++];
                const auto len = ReadVarLen(b, p, end);
                if (!len || *len > end - p) return Failed<MidiInfo>("bad meta length");
                if (type == 0x51 && *len == 3) info.Tempos[tick] = (b[p] << 16) | (b[p + 1] << 8) | b[p + 2];
                if (type == 0x2F) ended = true;
                p += *len;
                status = 0;
            } else if (status >= 0x80 && status < 0xF0) {
                const int kind = status & 0xF0;
                const int channel = status & 0x0F;
                const std::size_t dataBytes = (kind == 0xC0 || kind == 0xD0) ? 1 : 2;
                if (p + dataBytes > end) return Failed<MidiInfo>("truncated channel event");
                const int key = b[p];
                const bool on = kind == 0x90 && b[p + 1] > 0;
                const bool off = kind == 0x80 || (kind == 0x90 && b[p + 1] == 0);
                if (on) {
                    ++info.NoteOns;
                    ++open[{channel, key}];
                } else if (off) {
                    ++info.NoteOffs;
                    if (--open[{channel, key}] < 0) ++info.Unbalanced;
                }
                if (kind == 0xC0) info.Programs[channel] = key;
                p += dataBytes;
            } else {
                return Failed<MidiInfo>("unexpected status byte");
            }
        }
        if (!ended || p != end) return Failed<MidiInfo>("track does not end with end-of-track at its stated length");
        info.TrackEnds.push_back(tick);
        at = end;
    }
    if (info.TrackEnds.size() != info.TrackCount) return Failed<MidiInfo>("header track count differs from the chunks");
    for (const auto& [key, count] : open)
        if (count != 0) ++info.Unbalanced;
    return info;
}

/// Average power spectrum of the signal over Hann-windowed frames of 1024.
inline std::vector<double> PowerSpectrum(std::span<const double> x)
{
    constexpr std::size_t n = 1024;
    std::vector<double> power(n / 2, 0.0);
    for (std::size_t start = 0; start + n <= std::max(x.size(), n); start += n / 2) {
        std::vector<std::complex<double>> a(n);
        for (std::size_t i = 0; i < n; ++i) {
            const double w = 0.5 - 0.5 * std::cos(2 * std::numbers::pi * i / n);
            a[i] = start + i < x.size() ? x[start + i] * w : 0.0;
        }
        for (std::size_t i = 1, j = 0; i < n; ++i) { // bit-reversal permutation
            std::size_t bit = n >> 1;
            for (; j & bit; bit >>= 1) j ^= bit;
            j ^= bit;
            if (i < j) std::swap(a[i], a[j]);
        }
        for (std::size_t len = 2; len <= n; len <<= 1) {
            const auto w = std::polar(1.0, -2 * std::numbers::pi / static_cast<double>(len));
            for (std::size_t i = 0; i < n; i += len) {
                std::complex<double> t = 1;
                for (std::size_t k = 0; k < len / 2; ++k, t *= w) {
                    const auto u = a[i + k];
                    const auto v = a[i + k + len / 2] * t;
                    a[i + k] = u + v;
                    a[i + k + len / 2] = u - v;
                }
            }
        }
        for (std::size_t k = 0; k < n / 2; ++k) power[k] += std::norm(a[k]);
    }
    return power;
}

/// The share of the signal's power below `hz`.
inline double ShareBelow(std::span<const double> x, double rate, double hz)
{
    const std::vector<double> p = PowerSpectrum(x);
    double below = 0, total = 0;
    for (std::size_t k = 0; k < p.size(); ++k) {
        total += p[k];
        if (k * rate / 1024.0 < hz) below += p[k];
    }
    return total > 0 ? below / total : 0;
}

} // namespace brakkon::test
