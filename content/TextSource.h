// Reading text: the sources of the shipped content (data/), the music score
// and the simulator's key scripts. A file held as numbered lines, the words of
// a line, the one reader of whole numbers, and the one message of a failure,
// which names the file and the line. Text files are outside input: every
// reader built on this refuses damage with a message and never trusts a count
// or a size it has not checked.
#pragma once

#include <charconv>
#include <concepts>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace brakkon {

/// The outcome of reading or writing text sources: success, or one message
/// of the form "FILE:LINE: what is wrong" (or "FILE: what is wrong").
struct [[nodiscard]] TextResult {
    std::string Message; ///< empty on success

    explicit operator bool() const { return Message.empty(); }
    static TextResult Ok() { return {}; }
    static TextResult Fail(std::string message) { return {std::move(message)}; }
};

/// The largest text source read (bytes); the shipped files are far smaller.
constexpr std::uintmax_t MaxTextSourceSize = 16 * 1024 * 1024;

/// One text file as lines without their line ends and trailing blanks,
/// together with the name that messages give it.
class TextSource {
public:
    /// Reads `path`; the messages call it `name`. Refuses a missing or
    /// unreadable file, one larger than MaxTextSourceSize, and one holding
    /// NUL or other control bytes (other than tab, CR and LF).
    static TextResult Load(const std::filesystem::path& path, std::string name, TextSource& out);

    /// A source held in memory (tests, and files written and read back).
    static TextSource FromString(std::string name, std::string_view text);

    [[nodiscard]] const std::string& Name() const { return name_; }
    /// Bytes of the text as it was given, line ends included.
    [[nodiscard]] std::size_t Size() const { return size_; }
    [[nodiscard]] std::size_t LineCount() const { return lines_.size(); }
    /// Line `index`, counted from 0; its number in messages is index + 1.
    [[nodiscard]] std::string_view Line(std::size_t index) const { return lines_[index]; }

    /// "NAME:NUMBER: what", for the line counted from 0.
    [[nodiscard]] TextResult Error(std::size_t index, std::string_view what) const;
    /// "NAME: what", for what concerns the whole file.
    [[nodiscard]] TextResult Error(std::string_view what) const;

private:
    std::string name_;
    std::vector<std::string> lines_;
    std::size_t size_ = 0;
};

/// The words of a line, split at blanks and tabs.
[[nodiscard]] std::vector<std::string_view> SplitWords(std::string_view line);

/// True for an empty line and for a comment line (first non-blank is '#').
[[nodiscard]] bool IsBlankOrComment(std::string_view line);

/// The one reader of whole numbers in text: decimal, an optional '-' (for a
/// signed type), then digits only, within the range of Int. False (value
/// unchanged) for anything else: blanks, '+', a fraction, an overflow.
template <std::integral Int>
[[nodiscard]] bool ParseInt(std::string_view word, Int& value)
{
    const std::size_t sign = !word.empty() && word.front() == '-' ? 1 : 0;
    if (word.size() == sign) return false;
    for (std::size_t i = sign; i < word.size(); ++i)
        if (word[i] < '0' || word[i] > '9') return false;
    Int parsed{};
    const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), parsed);
    if (ec != std::errc() || end != word.data() + word.size()) return false;
    value = parsed;
    return true;
}

/// True for a path that a source may name: relative, without ".." steps, so
/// that it stays inside the folder it is taken from.
[[nodiscard]] bool IsInsidePath(std::string_view word);

/// A word quoted for a message: 'word', with control bytes shown as \xNN.
[[nodiscard]] std::string Quoted(std::string_view word);

/// The first line of every text source: "<kind> <version>". Checks it and
/// names what was found when it is wrong.
[[nodiscard]] TextResult CheckVersionLine(const TextSource& source, std::string_view kind, std::int32_t version);

/// Writes `text` to `path` (replacing it safely); fails with a message naming it.
[[nodiscard]] TextResult WriteTextFile(const std::filesystem::path& path, std::string_view text);

} // namespace brakkon
