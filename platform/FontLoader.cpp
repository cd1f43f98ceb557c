#include "platform/FontLoader.h"

#include "content/SoundFont.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <vector>

namespace brakkon {
namespace {

constexpr int Ok = 0;
constexpr int Failed = -1;

std::mutex Lock;
std::optional<MidiProgramSet> Announced; ///< under Lock
FontServed Served;                       ///< under Lock
std::atomic<bool> Cut{true};

/// An open font: the cut in memory, or the real file.
struct FontFile {
    std::vector<std::uint8_t> Bytes;
    long long Position = 0;
    std::FILE* File = nullptr;
};

/// The cut of the font in `fileName`; empty when refused. The font is
/// mapped, not read: only the tables and the kept samples' pages are touched.
SoundFontCut CutFile(const char* fileName, const MidiProgramSet& programs)
{
    const int fd = ::open(fileName, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return {};
    struct stat status {};
    SoundFontCut cut{{}, 0, 0, 0, MsgSoundFontRefused};
    if (::fstat(fd, &status) == 0 && status.st_size > 0) {
        const auto size = static_cast<std::size_t>(status.st_size);
        void* mapped = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
        if (mapped != MAP_FAILED) {
            cut = CutSoundFont({static_cast<const std::uint8_t*>(mapped), size}, programs);
            ::munmap(mapped, size);
        }
    }
    ::close(fd);
    return cut;
}

void* OpenFont(const char* fileName)
{
    std::optional<MidiProgramSet> programs;
    {
        const std::lock_guard<std::mutex> hold(Lock);
        programs = Announced;
    }
    if (programs && Cut) {
        SoundFontCut cut = CutFile(fileName, *programs);
        if (cut) {
            const std::lock_guard<std::mutex> hold(Lock);
            Served = {Served.Count + 1, cut.Presets, cut.Instruments, cut.Samples, cut.Bytes.size()};
            return new FontFile{std::move(cut.Bytes)};
        }
    }
    std::FILE* file = std::fopen(fileName, "rb");
    return file != nullptr ? new FontFile{{}, 0, file} : nullptr;
}

int ReadFont(void* buffer, long long count, void* handle)
{
    auto* font = static_cast<FontFile*>(handle);
    if (count < 0) return Failed;
    if (font->File != nullptr) {
        const auto wanted = static_cast<std::size_t>(count);
        return std::fread(buffer, 1, wanted, font->File) == wanted ? Ok : Failed;
    }
    if (count > static_cast<long long>(font->Bytes.size()) - font->Position) return Failed;
    std::memcpy(buffer, font->Bytes.data() + font->Position, static_cast<std::size_t>(count));
    font->Position += count;
    return Ok;
}

int SeekFont(void* handle, long long offset, int origin)
{
    auto* font = static_cast<FontFile*>(handle);
    if (font->File != nullptr) return ::fseeko(font->File, static_cast<off_t>(offset), origin) == 0 ? Ok : Failed;
    const auto size = static_cast<long long>(font->Bytes.size());
    long long to = offset;
    if (origin == SEEK_CUR) to += font->Position;
    else if (origin == SEEK_END) to += size;
    else if (origin != SEEK_SET) return Failed;
    if (to < 0 || to > size) return Failed;
    font->Position = to;
    return Ok;
}

long long TellFont(void* handle)
{
    auto* font = static_cast<FontFile*>(handle);
    return font->File != nullptr ? static_cast<long long>(::ftello(font->File)) : font->Position;
}

int CloseFont(void* handle)
{
    auto* font = static_cast<FontFile*>(handle);
    const int result = font->File != nullptr && std::fclose(font->File) != 0 ? Failed : Ok;
    delete font;
    return result;
}

} // namespace

MusicAnnounced::MusicAnnounced(const std::optional<MidiProgramSet>& programs)
{
    const std::lock_guard<std::mutex> hold(Lock);
    Announced = programs;
}

MusicAnnounced::~MusicAnnounced()
{
    const std::lock_guard<std::mutex> hold(Lock);
    Announced.reset();
}

void SetCutSoundFont(bool cut) { Cut = cut; }

bool AddFontLoader(FluidSynth* synth, FluidSettings* settings, const SynthCalls& calls)
{
    if (calls.NewLoader == nullptr || calls.SetLoaderFiles == nullptr || calls.AddLoader == nullptr) return false;
    FluidSfLoader* loader = calls.NewLoader(settings);
    if (loader == nullptr) return false;
    if (calls.SetLoaderFiles(loader, OpenFont, ReadFont, SeekFont, TellFont, CloseFont) != Ok) {
        if (calls.DeleteLoader != nullptr) calls.DeleteLoader(loader);
        return false;
    }
    // Added loaders are tried before the library's own; the synthesiser deletes it.
    calls.AddLoader(synth, loader);
    return true;
}

FontServed LastFontServed()
{
    const std::lock_guard<std::mutex> hold(Lock);
    return Served;
}

} // namespace brakkon
