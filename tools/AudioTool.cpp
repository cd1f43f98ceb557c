// brakkon-audio: builds the game's sound files.
//   brakkon-audio wav NAME OUT.wav     NAME: explode, ding, gun or move
//   brakkon-audio midi SCORE OUT.mid   a score in the text format of data/README.md
// Faults go to stderr with exit status 1; nothing is written then.
#include "content/Effects.h"
#include "game/FileIo.h"
#include "content/Midi.h"
#include "content/Score.h"

#include <filesystem>
#include <iostream>
#include <string>
#include <string_view>

namespace {

using namespace brakkon;
using namespace brakkon::audio;

constexpr std::string_view Usage =
    "usage: brakkon-audio wav NAME OUT.wav    (NAME: explode, ding, gun, move)\n"
    "       brakkon-audio midi SCORE OUT.mid\n";

int Fail(const std::string& message)
{
    std::cerr << "brakkon-audio: " << message << '\n';
    return 1;
}

int Write(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes)
{
    if (!WriteFileAtomically(path, bytes)) return Fail("cannot write " + path.string());
    return 0;
}

int MakeWav(std::string_view name, const std::filesystem::path& out)
{
    const auto effect = EffectByName(name);
    if (!effect) return Fail("unknown effect '" + std::string(name) + "' (explode, ding, gun or move)");
    return Write(out, EffectWav(*effect));
}

int MakeMidi(const std::filesystem::path& scorePath, const std::filesystem::path& out)
{
    TextSource text;
    Score score;
    if (TextResult r = TextSource::Load(scorePath, scorePath.string(), text); !r) return Fail(r.Message);
    if (TextResult r = ReadScore(text, score); !r) return Fail(r.Message);
    return Write(out, EncodeMidi(score));
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::cerr << Usage;
        return 1;
    }
    const std::string_view command = argv[1];
    if (command == "wav") return MakeWav(argv[2], argv[3]);
    if (command == "midi") return MakeMidi(argv[2], argv[3]);
    std::cerr << "brakkon-audio: unknown command '" << command << "'\n" << Usage;
    return 1;
}
