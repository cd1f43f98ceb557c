// The music as the mixer's synthesiser renders it three ways: with the
// library's defaults and the whole sound font, with the game's lean
// polyphony and the whole font, and lean with the font cut to the music's
// programs (as the game plays it). SDL's disk audio driver writes the mix of
// one whole round of the music to a file per run, as fast as it is mixed;
// the recordings, from the first sound on, must be the same samples. Also
// prints the most voices sounding at once (read after every mixed buffer of
// 1024 frames) against the lean polyphony, the CPU time of each run and the
// size of the cut font.
//
//   synth_check [MUSIC.mid] [FOLDER]   defaults: the built "Music.mid", /tmp
// Exit status 0 when the recordings are the same and the voices fit.
#include "content/MidiLength.h"
#include "platform/FontLoader.h"
#include "platform/MediaSdl.h"
#include "platform/MixerSynth.h"

#include <SDL_mixer.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

namespace brakkon {
namespace {

using Clock = std::chrono::steady_clock;
constexpr std::uintmax_t BytesPerSecond = 44100 * 2 * 2;
constexpr double TailSeconds = 3; ///< rendered after the music's length: the last notes' release

std::atomic<FluidSynth*> Polled{nullptr};
std::atomic<int> MostVoices{0};

void CountVoices(void*, Uint8*, int)
{
    FluidSynth* synth = Polled.load();
    if (synth == nullptr || MixerSynthCalls().ActiveVoices == nullptr) return;
    const int voices = MixerSynthCalls().ActiveVoices(synth);
    if (voices > MostVoices.load()) MostVoices.store(voices);
}

std::vector<std::uint8_t> ReadFile(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct Run {
    bool Rendered = false;
    int Voices = 0;
    int Polyphony = 0;
    double CpuSeconds = 0;
};

/// One round of the music into `out` through the game's own media player.
Run Render(const std::string& music, const std::filesystem::path& out, double seconds, bool lean, bool cut)
{
    Run run;
    SetLeanSynth(lean);
    SetCutSoundFont(cut);
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", out.c_str(), 1);
    setenv("SDL_DISKAUDIODELAY", "0", 1);
    const std::clock_t cpuStart = std::clock();
    {
        const std::shared_ptr<SdlAudio> audio = SdlAudio::Open();
        if (!audio->Available()) return run;
        const std::unique_ptr<MediaPlayer> player = MakeSdlMediaPlayer(audio);
        if (!player->Open(music)) return run;
        const SynthMade made = LastSynthMade();
        run.Polyphony = made.Polyphony;
        MostVoices = 0;
        Polled = made.Synth;
        Mix_SetPostMix(CountVoices, nullptr);
        std::error_code error;
        const std::uintmax_t wanted = std::filesystem::file_size(out, error) + static_cast<std::uintmax_t>((seconds + TailSeconds) * BytesPerSecond);
        if (!player->Play()) return run;
        const Clock::time_point deadline = Clock::now() + std::chrono::minutes(10);
        while (std::filesystem::file_size(out, error) < wanted && Clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        Mix_SetPostMix(nullptr, nullptr); // returns once no count runs: the synthesiser may go
        Polled = nullptr;
        run.Rendered = std::filesystem::file_size(out, error) >= wanted;
    }
    run.CpuSeconds = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    run.Voices = MostVoices;
    return run;
}

/// The 16-bit frames from the first that is not silent on.
std::vector<std::uint8_t> FromFirstSound(const std::vector<std::uint8_t>& pcm)
{
    std::size_t first = 0;
    while (first + 4 <= pcm.size() && pcm[first] == 0 && pcm[first + 1] == 0 && pcm[first + 2] == 0 && pcm[first + 3] == 0) first += 4;
    return {pcm.begin() + static_cast<std::ptrdiff_t>(first), pcm.end()};
}

int Check(const std::string& music, const std::filesystem::path& folder)
{
    const std::vector<std::uint8_t> score = ReadFile(music);
    const MidiLength length = ReadMidiLength(score);
    if (!length) {
        std::fprintf(stderr, "cannot read the length of %s\n", music.c_str());
        return 2;
    }
    struct Way {
        const char* Name;
        bool Lean, Cut;
        std::filesystem::path File;
        Run Done;
    };
    Way ways[] = {{"defaults", false, false, folder / "synth-plain.pcm", {}},
                  {"lean", true, false, folder / "synth-lean.pcm", {}},
                  {"cut", true, true, folder / "synth-cut.pcm", {}}};
    const int servedBefore = LastFontServed().Count;
    for (Way& way : ways) {
        way.Done = Render(music, way.File, length.Seconds, way.Lean, way.Cut);
        std::printf("%-8s rendered %s, polyphony %d, most voices at once %d, CPU %.2f s\n", way.Name,
                    way.Done.Rendered ? "whole" : "NOT WHOLE", way.Done.Polyphony, way.Done.Voices, way.Done.CpuSeconds);
        if (!way.Done.Rendered) return 2;
    }
    const FontServed served = LastFontServed();
    if (served.Count != servedBefore + 1) {
        std::printf("the cut font was not served (%d times)\n", served.Count - servedBefore);
        return 1;
    }
    std::printf("cut font: %d presets, %d instruments, %d samples, %zu bytes\n", served.Presets, served.Instruments,
                served.Samples, served.Bytes);

    const std::vector<std::uint8_t> a = FromFirstSound(ReadFile(ways[0].File));
    const std::size_t compared = static_cast<std::size_t>(length.Seconds * BytesPerSecond) & ~std::size_t{3};
    for (const Way* way : {&ways[1], &ways[2]}) {
        const std::vector<std::uint8_t> b = FromFirstSound(ReadFile(way->File));
        std::printf("%s against defaults: music %.2f s; sound from the first sample on: %zu and %zu bytes; comparing %zu\n",
                    way->Name, length.Seconds, a.size(), b.size(), compared);
        if (a.size() < compared || b.size() < compared) return 1;
        std::size_t differ = 0;
        std::size_t first = compared;
        for (std::size_t i = 0; i < compared; i += 2) {
            if (a[i] == b[i] && a[i + 1] == b[i + 1]) continue;
            ++differ;
            if (first == compared) first = i;
        }
        if (differ != 0) {
            std::printf("DIFFERENT: %zu of %zu samples, the first at %.3f s\n", differ, compared / 2,
                        static_cast<double>(first) / BytesPerSecond);
            return 1;
        }
        std::printf("identical: %zu samples\n", compared / 2);
        if (way->Done.Voices >= way->Done.Polyphony) {
            std::printf("the music reaches the lean polyphony\n");
            return 1;
        }
    }
    for (const Way& way : ways) std::filesystem::remove(way.File);
    return 0;
}

} // namespace
} // namespace brakkon

int main(int argc, char** argv)
{
    const std::string music = argc > 1 ? argv[1] : BRAKKON_BIN_DIR "/Music.mid";
    const std::filesystem::path folder = argc > 2 ? argv[2] : "/tmp";
    return brakkon::Check(music, folder);
}
