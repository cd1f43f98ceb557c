// Writing WAV files of mono 16-bit PCM.
#include "content/Wav.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string_view>

namespace brakkon::audio {
namespace {

constexpr std::uint16_t FormatPcm = 1;
constexpr std::uint16_t Channels = 1;
constexpr std::uint16_t BitsPerSample = 16;
constexpr std::uint16_t BytesPerFrame = Channels * BitsPerSample / 8;

void PutTag(std::vector<std::uint8_t>& out, std::string_view tag)
{
    out.insert(out.end(), tag.begin(), tag.end());
}

void PutLe16(std::vector<std::uint8_t>& out, std::uint16_t v)
{
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void PutLe32(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<std::uint8_t>((v >> shift) & 0xFF));
}

} // namespace

std::vector<std::uint8_t> EncodeWav(std::span<const std::int16_t> samples, std::uint32_t sampleRate)
{
    constexpr std::uint64_t maxData = 0xFFFFFFFFull - (WavHeaderSize - 8);
    const std::uint64_t dataBytes = static_cast<std::uint64_t>(samples.size()) * BytesPerFrame;
    if (dataBytes > maxData) throw std::length_error("too many samples for a WAV file");
    if (sampleRate == 0) throw std::invalid_argument("sample rate must be positive");

    std::vector<std::uint8_t> out;
    out.reserve(WavHeaderSize + dataBytes);
    PutTag(out, "RIFF");
    PutLe32(out, static_cast<std::uint32_t>(WavHeaderSize - 8 + dataBytes));
    PutTag(out, "WAVE");

    PutTag(out, "fmt ");
    PutLe32(out, 16);
    PutLe16(out, FormatPcm);
    PutLe16(out, Channels);
    PutLe32(out, sampleRate);
    PutLe32(out, sampleRate * BytesPerFrame);
    PutLe16(out, BytesPerFrame);
    PutLe16(out, BitsPerSample);

    PutTag(out, "data");
    PutLe32(out, static_cast<std::uint32_t>(dataBytes));
    for (std::int16_t s : samples) PutLe16(out, static_cast<std::uint16_t>(s));
    return out;
}

std::vector<std::int16_t> ToPcm16(std::span<const double> samples)
{
    std::vector<std::int16_t> out;
    out.reserve(samples.size());
    for (double s : samples) {
        const double scaled = std::isfinite(s) ? std::round(std::clamp(s, -1.0, 1.0) * 32767.0) : 0.0;
        out.push_back(static_cast<std::int16_t>(scaled));
    }
    return out;
}

} // namespace brakkon::audio
