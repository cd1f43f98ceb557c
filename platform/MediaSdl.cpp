#include "platform/MediaSdl.h"

#include "content/MidiLength.h"

#include "platform/FontLoader.h"
#include "platform/SdlLibrary.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace brakkon {
namespace {

using Clock = std::chrono::steady_clock;

/// The mixer's calls; only reached while the audio is open, so loaded.
const MixerCalls& Mix() { return *Mixer(); }

constexpr int MixFrequency = 44100;
constexpr int MixChannels = 2;
constexpr int MixChunkFrames = 1024;
constexpr std::uintmax_t MaxMidiBytes = 16u << 20; ///< longer files are played without knowing their length
constexpr const char* SoundFontNames[] = {"TimGM6mb.sf2", "default-GM.sf2"};

MediaResult MixerFailed(const std::string& fileName)
{
    return MediaResult::Failed("Cannot open \"" + fileName + "\": " + Sdl()->GetError());
}

/// One open file on one device.
class Device {
public:
    virtual ~Device() = default;
    virtual MediaResult Play() = 0;
    virtual void Stop() = 0;
    virtual void SeekToStart() = 0;
    [[nodiscard]] virtual bool Stopped() = 0;
};

/// A file opened while no sound device is there: nothing ever sounds.
class SilentDevice final : public Device {
public:
    MediaResult Play() override { return MediaResult::Done(); }
    void Stop() override {}
    void SeekToStart() override {}
    [[nodiscard]] bool Stopped() override { return true; }
};

/// A decoded waveform file, shared by the player's memory and the device
/// that plays it.
using Chunk = std::shared_ptr<Mix_Chunk>;

Chunk LoadChunk(const std::string& fileName)
{
    Mix_Chunk* chunk = Mix().LoadWAV_RW(Sdl()->RWFromFile(fileName.c_str(), "rb"), 1);
    if (chunk == nullptr) return nullptr;
    FitChunk(*chunk);
    return Chunk(chunk, Mix().FreeChunk);
}

/// A waveform file: one chunk on the player's own channel. A paused channel
/// is resumed; a channel that played to its end starts the chunk again.
class WaveDevice final : public Device {
public:
    WaveDevice(Chunk chunk, int channel) : chunk_(std::move(chunk)), channel_(channel) {}
    ~WaveDevice() override { Mix().HaltChannel(channel_); }
    WaveDevice(const WaveDevice&) = delete;
    WaveDevice& operator=(const WaveDevice&) = delete;

    MediaResult Play() override
    {
        if (Mix().Playing(channel_)) {
            Mix().Resume(channel_);
            return MediaResult::Done();
        }
        if (Mix().PlayChannelTimed(channel_, chunk_.get(), 0, -1) < 0) return MediaResult::Failed(Sdl()->GetError());
        return MediaResult::Done();
    }
    void Stop() override { Mix().Pause(channel_); }
    void SeekToStart() override { Mix().HaltChannel(channel_); }
    [[nodiscard]] bool Stopped() override { return !Mix().Playing(channel_) || Mix().Paused(channel_); }

private:
    Chunk chunk_;
    int channel_;
};

/// A MIDI file as the one music of the mixer. The synthesiser goes on
/// "playing" while its last voices fade, so the end is taken from the
/// file's own length, counted on a clock that stands while paused.
class SequencerDevice final : public Device {
public:
    SequencerDevice(Mix_Music* music, double seconds) : music_(music), length_(seconds) {}
    ~SequencerDevice() override { Mix().FreeMusic(music_); } // halts it if it sounds
    SequencerDevice(const SequencerDevice&) = delete;
    SequencerDevice& operator=(const SequencerDevice&) = delete;

    MediaResult Play() override
    {
        if (where_ == Where::Playing) return MediaResult::Done();
        if (where_ == Where::Paused) {
            Mix().ResumeMusic();
        } else {
            if (Mix().PlayMusic(music_, 1) != 0) return MediaResult::Failed(Sdl()->GetError());
            played_ = {};
        }
        where_ = Where::Playing;
        since_ = Clock::now();
        return MediaResult::Done();
    }
    void Stop() override
    {
        if (where_ != Where::Playing) return;
        Mix().PauseMusic();
        played_ += Clock::now() - since_;
        where_ = Where::Paused;
    }
    void SeekToStart() override
    {
        Mix().HaltMusic();
        played_ = {};
        where_ = Where::Start;
    }
    [[nodiscard]] bool Stopped() override
    {
        if (where_ == Where::Playing && Ended()) {
            Mix().HaltMusic();
            where_ = Where::End;
        }
        return where_ != Where::Playing;
    }

private:
    enum class Where { Start, Playing, Paused, End };

    [[nodiscard]] bool Ended() const
    {
        if (!Mix().PlayingMusic()) return true;
        const std::chrono::duration<double> played = played_ + (Clock::now() - since_);
        return length_ > 0 && played.count() >= length_;
    }

    Mix_Music* music_;
    double length_; ///< seconds; 0 when the file's length could not be read
    Where where_ = Where::Start;
    Clock::duration played_{};
    Clock::time_point since_{};
};

/// The playing time of a MIDI file, or 0 when it cannot be read.
/// What the player reads from a MIDI file itself.
struct MidiFacts {
    double Seconds = 0;                     ///< 0: not known
    std::optional<MidiProgramSet> Programs; ///< none: not known
};

MidiFacts ReadMidiFacts(const std::string& fileName)
{
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(fileName, error);
    if (error || size > MaxMidiBytes) return {};
    std::ifstream in(fileName, std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    MidiFacts facts;
    if (const MidiLength length = ReadMidiLength(bytes)) facts.Seconds = length.Seconds;
    if (const MidiPrograms programs = ReadMidiPrograms(bytes)) facts.Programs = programs.Programs;
    return facts;
}

std::string LowerExtension(const std::string& fileName)
{
    std::string ext = std::filesystem::path(fileName).extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext;
}

class SdlMediaPlayer final : public MediaPlayer {
public:
    explicit SdlMediaPlayer(std::shared_ptr<SdlAudio> audio) : audio_(std::move(audio)) {}

    MediaResult Open(const std::string& fileName) override
    {
        Close();
        const std::string ext = LowerExtension(fileName);
        const bool wave = ext == ".wav";
        if (!wave && ext != ".mid" && ext != ".midi")
            return MediaResult::Failed("Cannot open \"" + fileName + "\": no device plays this kind of file");
        if (!audio_->Available()) {
            device_ = std::make_unique<SilentDevice>();
            return MediaResult::Done();
        }
        if (wave) {
            const auto kept = preloaded_.find(fileName);
            Chunk chunk = kept != preloaded_.end() ? kept->second : LoadChunk(fileName);
            if (chunk == nullptr) return MixerFailed(fileName);
            if (channel_ < 0) channel_ = audio_->ReserveChannel();
            device_ = std::make_unique<WaveDevice>(chunk, channel_);
        } else {
            const MidiFacts facts = ReadMidiFacts(fileName);
            Mix_Music* music = nullptr;
            {
                // The mixer's synthesiser gets a sound font of only these programs.
                const MusicAnnounced announced(facts.Programs);
                music = Mix().LoadMUS(fileName.c_str());
            }
            if (music == nullptr) return MixerFailed(fileName);
            device_ = std::make_unique<SequencerDevice>(music, facts.Seconds);
        }
        return MediaResult::Done();
    }
    MediaResult Preload(const std::string& fileName) override
    {
        if (LowerExtension(fileName) != ".wav")
            return MediaResult::Failed("Cannot open \"" + fileName + "\": only waveform files are kept in memory");
        // Without a device nothing is decoded: Open makes a silent file.
        if (!audio_->Available() || preloaded_.count(fileName) != 0) return MediaResult::Done();
        Chunk chunk = LoadChunk(fileName);
        if (chunk == nullptr) return MixerFailed(fileName);
        preloaded_.emplace(fileName, std::move(chunk));
        return MediaResult::Done();
    }
    void Close() override { device_.reset(); }
    MediaResult Play() override { return device_ ? device_->Play() : NoDevice(); }
    MediaResult Stop() override { return device_ ? (device_->Stop(), MediaResult::Done()) : NoDevice(); }
    MediaResult SeekToStart() override { return device_ ? (device_->SeekToStart(), MediaResult::Done()) : NoDevice(); }
    [[nodiscard]] bool Stopped() override { return device_ && device_->Stopped(); }
    [[nodiscard]] bool IsOpen() const override { return device_ != nullptr; }

private:
    static MediaResult NoDevice() { return MediaResult::Failed(std::string(MsgNoDeviceOpen)); }

    std::shared_ptr<SdlAudio> audio_;
    std::unique_ptr<Device> device_;
    std::map<std::string, Chunk> preloaded_; ///< by the name given to Preload
    int channel_ = -1; ///< reserved at the first waveform file, kept for the player's life
};

} // namespace

void FitChunk(Mix_Chunk& chunk)
{
    // The mixer converts a file's sound in the buffer it keeps, made for the
    // largest step of the conversion: 16 times the file's samples for a mono
    // 16-bit file at half the device's rate, all of it written. What is left
    // is a quarter of it.
    if (chunk.allocated == 0 || chunk.abuf == nullptr || chunk.alen == 0) return;
    if (void* fitted = Sdl()->Realloc(chunk.abuf, chunk.alen)) chunk.abuf = static_cast<Uint8*>(fitted);
}

std::shared_ptr<SdlAudio> SdlAudio::Open()
{
    std::shared_ptr<SdlAudio> audio(new SdlAudio());
    const SdlCalls* sdl = Sdl();
    if (sdl == nullptr || Mixer() == nullptr) return audio; // not installed: silent
    // SDL would turn SIGINT and SIGTERM into quit events that nobody reads,
    // and the game would no longer end when the desktop asks it to.
    sdl->SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (sdl->InitSubSystem(SDL_INIT_AUDIO) != 0) return audio;
    Mix().Init(MIX_INIT_MID);
    // A font the user named in SDL_SOUNDFONTS is the mixer's own choice.
    if (const char* chosen = std::getenv("SDL_SOUNDFONTS"); chosen == nullptr || *chosen == '\0') {
        const std::string font = FindSoundFont([](const char* name) { return std::getenv(name); });
        if (!font.empty()) Mix().SetSoundFonts(font.c_str());
    }
    if (Mix().OpenAudio(MixFrequency, AUDIO_S16SYS, MixChannels, MixChunkFrames) != 0) {
        Mix().Quit();
        sdl->QuitSubSystem(SDL_INIT_AUDIO);
        return audio;
    }
    audio->available_ = true;
    return audio;
}

SdlAudio::~SdlAudio()
{
    if (!available_) return;
    Mix().CloseAudio();
    Mix().Quit();
    Sdl()->QuitSubSystem(SDL_INIT_AUDIO);
}

int SdlAudio::ReserveChannel()
{
    if (!available_) return -1;
    const int channel = reserved_++;
    if (Mix().AllocateChannels(-1) < reserved_) Mix().AllocateChannels(reserved_);
    Mix().ReserveChannels(reserved_);
    return channel;
}

std::unique_ptr<MediaPlayer> MakeSdlMediaPlayer(std::shared_ptr<SdlAudio> audio)
{
    return std::make_unique<SdlMediaPlayer>(std::move(audio));
}

std::string FindSoundFont(const EnvLookup& getEnv)
{
    namespace fs = std::filesystem;
    std::vector<fs::path> dirs;
    const char* userData = getEnv("XDG_DATA_HOME");
    const char* home = getEnv("HOME");
    if (userData != nullptr && *userData != '\0') dirs.emplace_back(userData);
    else if (home != nullptr && *home != '\0') dirs.push_back(fs::path(home) / ".local" / "share");
    const char* systemData = getEnv("XDG_DATA_DIRS");
    const std::string list = systemData != nullptr && *systemData != '\0' ? systemData : "/usr/local/share:/usr/share";
    for (std::size_t from = 0; from <= list.size();) {
        const std::size_t to = std::min(list.find(':', from), list.size());
        dirs.emplace_back(list.substr(from, to - from));
        from = to + 1;
    }
    std::error_code error;
    for (const char* name : SoundFontNames)
        for (const fs::path& dir : dirs) {
            if (!dir.is_absolute()) continue; // relative entries are not data directories
            const fs::path font = dir / "sounds" / "sf2" / name;
            if (fs::is_regular_file(font, error)) return font.string();
        }
    return {};
}

} // namespace brakkon
