// Replays as text: written for reading and diffing, read back with every
// damage refused by one message naming its line.
#include "sim/Replay.h"

#include "game/ByteStream.h"
#include "game/FileIo.h"
#include "game/GateStream.h"
#include "game/SavedGame.h"
#include "sim/SimKeys.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>

namespace brakkon {
namespace {

constexpr std::string_view Magic = "brakkon-replay";
constexpr std::size_t HexBytesPerLine = 64;
/// The largest saved game or gate a replay may carry; real ones are a few kilobytes.
constexpr std::int64_t MaxSavedGameBytes = 4 * 1024 * 1024;
/// The most stored gates a Game Editor's gate number may reach.
constexpr std::int32_t MaxGateIndex = 1 << 20;

struct WhatName {
    ReplayWhat What;
    std::string_view Name;
};

constexpr std::array<WhatName, 10> WhatNames{{{ReplayWhat::Clock, "clock"},
                                             {ReplayWhat::Press, "press"},
                                             {ReplayWhat::Release, "release"},
                                             {ReplayWhat::Focus, "focus"},
                                             {ReplayWhat::Pause, "pause"},
                                             {ReplayWhat::Resume, "resume"},
                                             {ReplayWhat::NewGame, "new"},
                                             {ReplayWhat::LoadGame, "load"},
                                             {ReplayWhat::Step, "step"},
                                             {ReplayWhat::ShowGate, "gate"}}};

std::string_view NameOf(ReplayWhat what)
{
    for (const WhatName& w : WhatNames)
        if (w.What == what) return w.Name;
    return "?";
}

bool TakesKey(ReplayWhat what) { return what == ReplayWhat::Press || what == ReplayWhat::Release; }
bool TakesNoValue(ReplayWhat what)
{
    return what == ReplayWhat::Clock || what == ReplayWhat::Focus || what == ReplayWhat::Pause ||
           what == ReplayWhat::Resume;
}

/// Only version 2 holds it: a gate shown, a new game at another gate than the first.
bool NeedsVersion2(const ReplayEvent& e)
{
    return e.What == ReplayWhat::ShowGate || (e.What == ReplayWhat::NewGame && e.Gate != 0);
}

void AppendHex(std::string& out, const std::vector<std::uint8_t>& bytes)
{
    static constexpr char Digits[] = "0123456789abcdef";
    out += " " + std::to_string(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i % HexBytesPerLine == 0) out += "\n";
        out += Digits[bytes[i] >> 4];
        out += Digits[bytes[i] & 15];
    }
}

std::string Hex64(std::uint64_t value)
{
    std::array<char, 17> text{};
    std::snprintf(text.data(), text.size(), "%016llx", static_cast<unsigned long long>(value));
    return text.data();
}

std::string PlayerLine(int number, const PlayerType& p)
{
    return "player " + std::to_string(number) + " " + KeyName(p.LeftKey) + " " + KeyName(p.RightKey) + " " +
           KeyName(p.UpKey) + " " + KeyName(p.DownKey) + " " + KeyName(p.FireKey) + " " +
           (p.FireHeld ? "1 " : "0 ") + (p.MoveKey == 0 ? std::string("none") : KeyName(p.MoveKey)) + " " +
           std::to_string(p.MoveDir) + (p.MoveIdle ? " 1" : " 0");
}

/// The lines that say something (no blank or comment lines), with their index.
struct Lines {
    const TextSource& Source;
    std::vector<std::size_t> Index;
    std::size_t Next = 0;

    explicit Lines(const TextSource& source) : Source(source)
    {
        for (std::size_t i = 0; i < source.LineCount(); ++i)
            if (!IsBlankOrComment(source.Line(i))) Index.push_back(i);
    }
    [[nodiscard]] bool AtEnd() const { return Next >= Index.size(); }
    [[nodiscard]] std::size_t Number() const { return Index[Next]; }
    [[nodiscard]] std::vector<std::string_view> Words() const { return SplitWords(Source.Line(Index[Next])); }
    [[nodiscard]] TextResult Error(std::string_view what) const { return Source.Error(Index[Next], what); }
};

bool ParseFlag(std::string_view word, bool& flag)
{
    if (word != "0" && word != "1") return false;
    flag = word == "1";
    return true;
}

bool ParseKey(std::string_view word, KeyCode& key)
{
    const auto code = ParseKeyName(word);
    if (!code) return false;
    key = *code;
    return true;
}

/// "player N LEFT RIGHT UP DOWN FIRE HELD MOVEKEY|none DIR IDLE"
bool ParsePlayer(const std::vector<std::string_view>& w, PlayerType& p)
{
    KeyCode moveKey = 0;
    if (w[8] != "none" && !ParseKey(w[8], moveKey)) return false;
    p.MoveKey = moveKey;
    return ParseKey(w[2], p.LeftKey) && ParseKey(w[3], p.RightKey) && ParseKey(w[4], p.UpKey) &&
           ParseKey(w[5], p.DownKey) && ParseKey(w[6], p.FireKey) && ParseFlag(w[7], p.FireHeld) &&
           ParseInt(w[9], p.MoveDir) && p.MoveDir >= -1 && p.MoveDir <= 3 && ParseFlag(w[10], p.MoveIdle);
}

bool ParseHexByte(std::string_view two, std::uint8_t& byte)
{
    const auto [end, ec] = std::from_chars(two.data(), two.data() + 2, byte, 16);
    return ec == std::errc() && end == two.data() + 2;
}

/// The header: magic and version, data, random, step, flow, two players.
TextResult ReadHeader(Lines& lines, Replay& r, int& version)
{
    auto expect = [&](std::string_view key, std::size_t words) -> std::optional<std::vector<std::string_view>> {
        if (lines.AtEnd()) return std::nullopt;
        auto w = lines.Words();
        if (w.size() != words || w[0] != key) return std::nullopt;
        return w;
    };
    if (lines.AtEnd()) return lines.Source.Error("empty file, not a replay");
    {
        const auto w = lines.Words();
        if (w.size() != 2 || w[0] != Magic) return lines.Error("not a replay (its first line must be 'brakkon-replay 1')");
        if (!ParseInt(w[1], version) || version < ReplayFirstVersion || version > ReplayVersion)
            return lines.Error("replay version " + Quoted(w[1]) + "; this game reads versions " +
                               std::to_string(ReplayFirstVersion) + " to " + std::to_string(ReplayVersion));
        ++lines.Next;
    }
    const auto data = expect("data", 3);
    if (!data || !ParseInt((*data)[1], r.Data.Size) || (*data)[2].size() != 16)
        return lines.AtEnd() ? lines.Source.Error("ends in its header") : lines.Error("expected 'data SIZE CHECKSUM'");
    {
        const std::string_view hex = (*data)[2];
        const auto [end, ec] = std::from_chars(hex.data(), hex.data() + hex.size(), r.Data.Checksum, 16);
        if (ec != std::errc() || end != hex.data() + hex.size()) return lines.Error("bad checksum " + Quoted(hex));
    }
    ++lines.Next;
    const auto random = expect("random", 2);
    if (!random || !ParseInt((*random)[1], r.Start.RandomSeed))
        return lines.AtEnd() ? lines.Source.Error("ends in its header") : lines.Error("expected 'random STATE'");
    ++lines.Next;
    const auto step = expect("step", 2);
    if (!step || !ParseInt((*step)[1], r.Start.MoveStep) ||
        (r.Start.MoveStep != 1 && r.Start.MoveStep != 2 && r.Start.MoveStep != 4))
        return lines.AtEnd() ? lines.Source.Error("ends in its header") : lines.Error("expected 'step 1|2|4'");
    ++lines.Next;
    const auto flow = expect("flow", 5);
    if (!flow || !ParseFlag((*flow)[1], r.Start.BlinkPhase) || !ParseFlag((*flow)[2], r.Start.Playing) ||
        !ParseFlag((*flow)[3], r.Start.GameOver) || !ParseFlag((*flow)[4], r.Start.NextGatePending))
        return lines.AtEnd() ? lines.Source.Error("ends in its header")
                             : lines.Error("expected 'flow BLINK PLAYING GAMEOVER PENDING' (each 0 or 1)");
    ++lines.Next;
    for (const auto& [number, player] : {std::pair{"1", &r.Start.Player1}, std::pair{"2", &r.Start.Player2}}) {
        const auto w = expect("player", 11);
        if (!w || (*w)[1] != number || !ParsePlayer(*w, *player))
            return lines.AtEnd() ? lines.Source.Error("ends in its header")
                                 : lines.Error(std::string("expected 'player ") + number +
                                               " LEFT RIGHT UP DOWN FIRE HELD MOVEKEY|none DIR IDLE'");
        ++lines.Next;
    }
    return TextResult::Ok();
}

/// The hex lines of `size` bytes that follow the line of a saved game or a gate.
TextResult ReadHexLines(Lines& lines, std::string_view word, std::int64_t size, std::vector<std::uint8_t>& bytes)
{
    if (size <= 0 || size > MaxSavedGameBytes) return lines.Error("bad " + std::string(word) + " size " + std::to_string(size));
    const std::size_t loadLine = lines.Number();
    ++lines.Next;
    bytes.reserve(static_cast<std::size_t>(size));
    while (bytes.size() < static_cast<std::size_t>(size)) {
        if (lines.AtEnd())
            return lines.Source.Error("ends inside the " + std::string(word) + " of line " + std::to_string(loadLine + 1));
        const std::string_view line = lines.Source.Line(lines.Number());
        const std::size_t want = std::min(HexBytesPerLine, static_cast<std::size_t>(size) - bytes.size());
        if (line.size() != want * 2) return lines.Error("expected " + std::to_string(want) + " bytes in hex");
        for (std::size_t i = 0; i < want; ++i) {
            std::uint8_t b = 0;
            if (!ParseHexByte(line.substr(i * 2, 2), b)) return lines.Error("bad hex " + Quoted(line.substr(i * 2, 2)));
            bytes.push_back(b);
        }
        ++lines.Next;
    }
    return TextResult::Ok();
}

/// "TICK load SIZE" and its hex lines: a saved game that loads.
TextResult ReadSavedGame(Lines& lines, std::int64_t size, std::vector<std::uint8_t>& bytes)
{
    const std::size_t loadLine = lines.Number();
    if (TextResult r = ReadHexLines(lines, "saved game", size, bytes); !r) return r;
    GateType scratch;
    if (!DecodeSavedGame(bytes, scratch)) return lines.Source.Error(loadLine, "the saved game is damaged");
    return TextResult::Ok();
}

/// "TICK gate INDEX SIZE" and its hex lines: a gate stream that reads.
TextResult ReadGateStream(Lines& lines, std::int64_t size, std::vector<std::uint8_t>& bytes)
{
    const std::size_t gateLine = lines.Number();
    if (TextResult r = ReadHexLines(lines, "gate", size, bytes); !r) return r;
    GateType scratch;
    ByteReader stream(bytes);
    if (!ReadGateFrom(stream, &scratch) || stream.Remaining() != 0) return lines.Source.Error(gateLine, "the gate is damaged");
    return TextResult::Ok();
}

/// The number of words an event's line has: with no value, one, or (a new
/// game at another gate, a gate shown) two.
bool WordCountFits(const ReplayEvent& e, std::size_t words, int version)
{
    if (TakesNoValue(e.What)) return words == 2;
    if (e.What == ReplayWhat::ShowGate) return words == 4;
    if (e.What == ReplayWhat::NewGame) return words == 3 || (words == 4 && version >= 2);
    return words == 3;
}

TextResult ReadEvents(Lines& lines, Replay& r, int version)
{
    while (!lines.AtEnd()) {
        const auto w = lines.Words();
        ReplayEvent e;
        if (w.size() < 2 || !ParseInt(w[0], e.Tick) || e.Tick < 0 || e.Tick > MaxReplayTicks)
            return lines.Error("expected 'TICK WHAT [VALUE]' with TICK a count of game ticks");
        if (!r.Events.empty() && e.Tick < r.Events.back().Tick)
            return lines.Error("tick " + std::to_string(e.Tick) + " comes after tick " +
                               std::to_string(r.Events.back().Tick));
        if (w[1] == "end") {
            if (w.size() != 2) return lines.Error("expected 'TICK end'");
            r.Ticks = e.Tick;
            ++lines.Next;
            if (!lines.AtEnd()) return lines.Error("nothing may follow the 'end' line");
            return TextResult::Ok();
        }
        const auto named = std::find_if(WhatNames.begin(), WhatNames.end(), [&](const WhatName& n) { return n.Name == w[1]; });
        if (named == WhatNames.end()) return lines.Error("unknown event " + Quoted(w[1]));
        e.What = named->What;
        if (e.What == ReplayWhat::ShowGate && version < 2)
            return lines.Error("a gate shown by the Game Editor needs replay version 2");
        if (!WordCountFits(e, w.size(), version))
            return lines.Error(std::string(TakesNoValue(e.What)                ? "no value goes with "
                                           : e.What == ReplayWhat::ShowGate    ? "two values go with "
                                           : e.What == ReplayWhat::NewGame     ? "one value (two in version 2) goes with "
                                                                               : "one value goes with ") +
                               Quoted(w[1]));
        bool valueOk = true;
        if (TakesKey(e.What)) {
            KeyCode key = 0;
            valueOk = ParseKey(w[2], key);
            e.Value = key;
        } else if (e.What == ReplayWhat::NewGame) {
            valueOk = ParseInt(w[2], e.Value) && (e.Value == 1 || e.Value == 2);
            if (w.size() == 4 && (!ParseInt(w[3], e.Gate) || e.Gate < 0 || e.Gate > MaxGateIndex))
                return lines.Error("bad gate " + Quoted(w[3]) + " for 'new'");
        } else if (e.What == ReplayWhat::Step) {
            valueOk = ParseInt(w[2], e.Value) && (e.Value == 1 || e.Value == 2 || e.Value == 4);
        } else if (e.What == ReplayWhat::LoadGame || e.What == ReplayWhat::ShowGate) {
            const bool gate = e.What == ReplayWhat::ShowGate;
            if (gate && (!ParseInt(w[2], e.Gate) || e.Gate < 0 || e.Gate > MaxGateIndex))
                return lines.Error("bad gate " + Quoted(w[2]) + " for 'gate'");
            const std::string_view sizeWord = w[gate ? 3 : 2];
            std::int64_t size = 0;
            if (!ParseInt(sizeWord, size))
                return lines.Error(std::string(gate ? "bad gate size " : "bad saved game size ") + Quoted(sizeWord));
            std::vector<std::uint8_t> bytes;
            if (TextResult read = gate ? ReadGateStream(lines, size, bytes) : ReadSavedGame(lines, size, bytes); !read)
                return read;
            auto& store = gate ? r.GateStreams : r.SavedGames;
            e.Value = static_cast<std::int32_t>(store.size());
            store.push_back(std::move(bytes));
            r.Events.push_back(e);
            continue; // past the lines of its bytes already
        }
        if (!valueOk) return lines.Error("bad value " + Quoted(w[2]) + " for " + Quoted(w[1]));
        r.Events.push_back(e);
        ++lines.Next;
    }
    return lines.Source.Error("ends before its 'end' line (a recording cut short)");
}

} // namespace

std::string WriteReplayText(const Replay& replay)
{
    const ReplayStart& s = replay.Start;
    std::string out;
    out.reserve(512 + replay.Events.size() * 16);
    const bool second = std::any_of(replay.Events.begin(), replay.Events.end(), NeedsVersion2);
    out += std::string(Magic) + " " + std::to_string(second ? 2 : ReplayFirstVersion) + "\n";
    out += "# the data file: its size and FNV-1a 64 checksum\n";
    out += "data " + std::to_string(replay.Data.Size) + " " + Hex64(replay.Data.Checksum) + "\n";
    out += "# the state when the first game began\n";
    out += "random " + std::to_string(s.RandomSeed) + "\n";
    out += "step " + std::to_string(s.MoveStep) + "\n";
    out += "flow " + std::string(s.BlinkPhase ? "1" : "0") + (s.Playing ? " 1" : " 0") + (s.GameOver ? " 1" : " 0") +
           (s.NextGatePending ? " 1" : " 0") + "\n";
    out += PlayerLine(1, s.Player1) + "\n" + PlayerLine(2, s.Player2) + "\n";
    out += "# TICK WHAT [VALUE]: the game ticks run before the event\n";
    for (const ReplayEvent& e : replay.Events) {
        out += std::to_string(e.Tick) + " " + std::string(NameOf(e.What));
        if (TakesKey(e.What)) {
            out += " " + KeyName(static_cast<KeyCode>(e.Value));
        } else if (e.What == ReplayWhat::LoadGame) {
            AppendHex(out, replay.SavedGames.at(static_cast<std::size_t>(e.Value)));
        } else if (e.What == ReplayWhat::ShowGate) {
            out += " " + std::to_string(e.Gate);
            AppendHex(out, replay.GateStreams.at(static_cast<std::size_t>(e.Value)));
        } else if (!TakesNoValue(e.What)) {
            out += " " + std::to_string(e.Value);
            if (e.What == ReplayWhat::NewGame && e.Gate != 0) out += " " + std::to_string(e.Gate);
        }
        out += "\n";
    }
    out += std::to_string(replay.Ticks) + " end\n";
    return out;
}

TextResult ReadReplay(const TextSource& source, Replay& replay)
{
    Replay read;
    Lines lines(source);
    int version = 0;
    if (TextResult r = ReadHeader(lines, read, version); !r) return r;
    if (TextResult r = ReadEvents(lines, read, version); !r) return r;
    if (!read.Events.empty() && read.Events.back().Tick > read.Ticks)
        return source.Error("an event comes after its 'end' line's tick");
    replay = std::move(read);
    return TextResult::Ok();
}

TextResult LoadReplay(const std::filesystem::path& path, Replay& replay)
{
    TextSource source;
    if (TextResult r = TextSource::Load(path, path.string(), source); !r) return r;
    return ReadReplay(source, replay);
}

bool SaveReplay(const std::filesystem::path& path, const Replay& replay)
{
    const std::string text = WriteReplayText(replay);
    return WriteFileAtomically(path, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

std::string DataMismatch(const Replay& replay, const std::optional<DataIdentity>& data, const std::string& dataName)
{
    if (!data) return "cannot read the data file " + dataName + " to check the replay against it";
    if (*data == replay.Data) return {};
    return "the replay was recorded with another data file than " + dataName + " (it expects " +
           std::to_string(replay.Data.Size) + " bytes with checksum " + Hex64(replay.Data.Checksum) + ", the file has " +
           std::to_string(data->Size) + " bytes with checksum " + Hex64(data->Checksum) + ")";
}

} // namespace brakkon
