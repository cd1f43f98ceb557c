// Reading the text of a music score. After the version line the reader walks
// the lines of the text source; header lines set tempo, metre and title,
// "track" opens a voice, and note lines advance that voice's clock. Repeats
// are unfolded as they close. The first fault stops the reading and becomes
// the text source's message for its line.
#include "content/Score.h"

#include "content/ScoreSyntax.h"

#include <algorithm>
#include <stdexcept>

namespace brakkon::audio {
namespace {

constexpr std::uint8_t DefaultVelocity = 96;
constexpr std::uint32_t DefaultGate = 90;
constexpr std::size_t MaxRepeatDepth = 8;
constexpr std::uint32_t MaxRepeatCount = 64;
constexpr std::uint32_t AccentBoost = 24;

/// An open "repeat N" of the track being read.
struct RepeatFrame {
    std::size_t FirstNote = 0;    ///< index of the first note inside the repeat
    std::uint32_t Start = 0;      ///< track clock at the "repeat" line
    std::uint32_t Count = 0;      ///< how often the section is played
    int Line = 0;                 ///< where the repeat was opened
};

/// Reads one score; owns the score while it is being built.
class ScoreReader {
public:
    Score Read(const TextSource& source);

private:
    void ReadLine(std::string_view line);
    void HeaderStatement(std::string_view keyword, std::string_view rest);
    void TrackStatement(std::string_view keyword, std::string_view rest);
    void OpenTrack(std::string_view name);
    void CloseTrack();
    void NoteLine(std::string_view line);
    void PlayEvent(const NoteEvent& event);
    void CloseRepeat();
    void CheckBar();
    ScoreTrack& Track();

    Score score_;                                ///< what has been read so far
    int line_ = 0;                               ///< 1-based number of the line being read
    bool tempoSet_ = false;                      ///< a "tempo" line was read
    bool inTrack_ = false;                       ///< a track is open (score_.Tracks.back())
    bool hasChannel_ = false;                    ///< the open track has its channel
    int trackLine_ = 0;                          ///< where the open track began
    std::uint32_t clock_ = 0;                    ///< ticks written so far in this track
    std::uint32_t lastLength_ = TicksPerQuarter; ///< length for an item written without one
    std::uint8_t velocity_ = DefaultVelocity;    ///< loudness of the notes that follow
    std::uint32_t gate_ = DefaultGate;           ///< sounding percentage of the notes that follow
    std::vector<RepeatFrame> repeats_;           ///< open repeats, innermost last
    std::size_t totalNotes_ = 0;                 ///< notes in all tracks so far
};

bool IsHeaderKeyword(std::string_view w)
{
    return w == "title" || w == "tempo" || w == "meter";
}

bool IsTrackKeyword(std::string_view w)
{
    return w == "channel" || w == "program" || w == "volume" || w == "velocity" || w == "gate" || w == "repeat" ||
           w == "end";
}

Score ScoreReader::Read(const TextSource& source)
{
    for (std::size_t i = 1; i < source.LineCount(); ++i) {
        line_ = static_cast<int>(i + 1);
        const std::string_view line = source.Line(i);
        CheckCharacters(line, line_);
        ReadLine(line);
    }
    if (inTrack_) CloseTrack();
    if (score_.Tracks.empty()) throw ScoreFault{0, "the score has no track"};
    if (totalNotes_ == 0) throw ScoreFault{0, "the score has no notes"};
    return std::move(score_);
}

void ScoreReader::ReadLine(std::string_view line)
{
    const std::string_view content = Trim(StripComment(line));
    if (content.empty()) return;
    const std::size_t space = content.find_first_of(" \t");
    const std::string_view keyword = content.substr(0, space);
    const std::string_view rest = space == std::string_view::npos ? std::string_view{} : Trim(content.substr(space));
    if (keyword == "track") {
        if (!tempoSet_) throw ScoreFault{line_, "'tempo' must come before the first track"};
        if (inTrack_) CloseTrack();
        OpenTrack(rest);
    } else if (IsHeaderKeyword(keyword)) {
        if (inTrack_) throw ScoreFault{line_, "'" + std::string(keyword) + "' belongs before the first track"};
        HeaderStatement(keyword, rest);
    } else if (IsTrackKeyword(keyword)) {
        if (!inTrack_) throw ScoreFault{line_, "'" + std::string(keyword) + "' outside a track"};
        TrackStatement(keyword, rest);
    } else {
        if (!inTrack_) throw ScoreFault{line_, "notes outside a track (or unknown word '" + std::string(keyword) + "')"};
        NoteLine(content);
    }
}

void ScoreReader::HeaderStatement(std::string_view keyword, std::string_view rest)
{
    if (keyword == "title") {
        score_.Title = std::string(rest);
    } else if (keyword == "tempo") {
        score_.Tempo = ParseNumber(rest, 20, 400, "tempo", line_);
        tempoSet_ = true;
    } else {
        const std::size_t slash = rest.find('/');
        if (slash == std::string_view::npos) throw ScoreFault{line_, "metre must look like 3/4 or 6/8"};
        score_.MeterTop = ParseNumber(rest.substr(0, slash), 1, 32, "beats in a bar", line_);
        score_.MeterBottom = ParseNumber(rest.substr(slash + 1), 1, 32, "beat value", line_);
        if ((score_.MeterBottom & (score_.MeterBottom - 1)) != 0)
            throw ScoreFault{line_, "beat value must be 1, 2, 4, 8, 16 or 32"};
    }
}

void ScoreReader::OpenTrack(std::string_view name)
{
    if (name.empty()) throw ScoreFault{line_, "a track needs a name"};
    if (score_.Tracks.size() == MaxScoreTracks) throw ScoreFault{line_, "more than 16 tracks"};
    score_.Tracks.push_back(ScoreTrack{});
    score_.Tracks.back().Name = std::string(name);
    inTrack_ = true;
    trackLine_ = line_;
    hasChannel_ = false;
    clock_ = 0;
    lastLength_ = TicksPerQuarter;
    velocity_ = DefaultVelocity;
    gate_ = DefaultGate;
}

void ScoreReader::CloseTrack()
{
    if (!repeats_.empty()) throw ScoreFault{repeats_.back().Line, "'repeat' without 'end'"};
    if (!hasChannel_) throw ScoreFault{trackLine_, "track '" + Track().Name + "' has no channel"};
    Track().End = clock_;
    inTrack_ = false;
}

ScoreTrack& ScoreReader::Track()
{
    return score_.Tracks.back();
}

void ScoreReader::TrackStatement(std::string_view keyword, std::string_view rest)
{
    const bool setup = keyword == "channel" || keyword == "program" || keyword == "volume";
    if (setup && clock_ > 0) throw ScoreFault{line_, "'" + std::string(keyword) + "' must come before the track's notes"};
    if (keyword == "channel") {
        Track().Channel = static_cast<std::uint8_t>(ParseNumber(rest, 1, 16, "channel", line_) - 1);
        hasChannel_ = true;
    } else if (keyword == "program") {
        Track().Program = static_cast<std::uint8_t>(ParseNumber(rest, 1, 128, "program", line_) - 1);
    } else if (keyword == "volume") {
        Track().Volume = static_cast<std::uint8_t>(ParseNumber(rest, 0, 127, "volume", line_));
    } else if (keyword == "velocity") {
        velocity_ = static_cast<std::uint8_t>(ParseNumber(rest, 1, 127, "velocity", line_));
    } else if (keyword == "gate") {
        gate_ = ParseNumber(rest, 1, 100, "gate", line_);
    } else if (keyword == "repeat") {
        if (repeats_.size() == MaxRepeatDepth) throw ScoreFault{line_, "repeats nested more than 8 deep"};
        const std::uint32_t count = ParseNumber(rest, 1, MaxRepeatCount, "repeat count", line_);
        repeats_.push_back(RepeatFrame{Track().Notes.size(), clock_, count, line_});
    } else {
        if (!rest.empty()) throw ScoreFault{line_, "'end' takes nothing after it"};
        CloseRepeat();
    }
}

void ScoreReader::CloseRepeat()
{
    if (repeats_.empty()) throw ScoreFault{line_, "'end' without 'repeat'"};
    const RepeatFrame frame = repeats_.back();
    repeats_.pop_back();
    const std::uint32_t span = clock_ - frame.Start;
    std::vector<ScoreNote>& notes = Track().Notes;
    const std::size_t sectionNotes = notes.size() - frame.FirstNote;
    const std::uint64_t extraTicks = static_cast<std::uint64_t>(span) * (frame.Count - 1);
    const std::uint64_t extraNotes = static_cast<std::uint64_t>(sectionNotes) * (frame.Count - 1);
    if (clock_ + extraTicks > MaxScoreTicks) throw ScoreFault{line_, "the score is too long"};
    if (totalNotes_ + extraNotes > MaxScoreNotes) throw ScoreFault{line_, "more than 100000 notes"};
    for (std::uint32_t pass = 1; pass < frame.Count; ++pass) {
        for (std::size_t i = 0; i < sectionNotes; ++i) {
            ScoreNote copy = notes[frame.FirstNote + i];
            copy.Start += span * pass;
            notes.push_back(copy);
        }
    }
    totalNotes_ += static_cast<std::size_t>(extraNotes);
    clock_ += static_cast<std::uint32_t>(extraTicks);
}

void ScoreReader::CheckBar()
{
    const std::uint32_t bar = score_.BarTicks();
    if (bar == 0 || clock_ % bar == 0) return;
    throw ScoreFault{line_, "bar line falls " + std::to_string(clock_ % bar) + " ticks into a bar of " +
                                std::to_string(bar) + " (" + std::to_string(TicksPerQuarter) + " ticks to a quarter)"};
}

void ScoreReader::NoteLine(std::string_view line)
{
    if (!hasChannel_) throw ScoreFault{line_, "'channel' must come before the track's notes"};
    for (const NoteEvent& event : SplitNoteLine(line, line_)) PlayEvent(event);
}

void ScoreReader::PlayEvent(const NoteEvent& event)
{
    if (event.BarCheck) {
        CheckBar();
        return;
    }
    const std::uint32_t length = event.Length == 0 ? lastLength_ : event.Length;
    lastLength_ = length;
    if (static_cast<std::uint64_t>(clock_) + length > MaxScoreTicks) throw ScoreFault{line_, "the score is too long"};
    if (totalNotes_ + event.Pitches.size() > MaxScoreNotes) throw ScoreFault{line_, "more than 100000 notes"};
    const std::uint32_t sounding = std::max<std::uint32_t>(1, static_cast<std::uint32_t>(
                                                                  static_cast<std::uint64_t>(length) * gate_ / 100));
    const std::uint32_t velocity = std::min<std::uint32_t>(127, velocity_ + (event.Accent ? AccentBoost : 0));
    for (std::uint8_t pitch : event.Pitches)
        Track().Notes.push_back(ScoreNote{clock_, sounding, pitch, static_cast<std::uint8_t>(velocity)});
    totalNotes_ += event.Pitches.size();
    clock_ += length;
}

} // namespace

std::uint32_t Score::End() const
{
    std::uint32_t end = 0;
    for (const ScoreTrack& t : Tracks) end = std::max(end, t.End);
    return end;
}

TextResult ReadScore(const TextSource& source, Score& score)
{
    if (source.Size() > MaxScoreBytes) return source.Error("the score is longer than 1 MiB");
    if (TextResult r = CheckVersionLine(source, ScoreKind, ScoreVersion); !r) return r;
    try {
        score = ScoreReader().Read(source);
    } catch (const ScoreFault& fault) {
        return fault.Line > 0 ? source.Error(static_cast<std::size_t>(fault.Line - 1), fault.Message)
                              : source.Error(fault.Message);
    }
    return TextResult::Ok();
}

} // namespace brakkon::audio
