#include "content/TextSource.h"

#include "game/FileIo.h"

#include <cstdio>
#include <system_error>

namespace brakkon {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimEnd(std::string_view line)
{
    while (!line.empty() && (IsBlank(line.back()) || line.back() == '\r')) line.remove_suffix(1);
    return line;
}

} // namespace

TextResult TextSource::Load(const std::filesystem::path& path, std::string name, TextSource& out)
{
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (ec || !std::filesystem::exists(status)) return TextResult::Fail(name + ": cannot open the file");
    if (!std::filesystem::is_regular_file(status)) return TextResult::Fail(name + ": not a regular file");
    const auto size = std::filesystem::file_size(path, ec);
    if (ec) return TextResult::Fail(name + ": cannot read the file");
    if (size > MaxTextSourceSize) return TextResult::Fail(name + ": the file is too large for a text source");
    const auto bytes = ReadFileBytes(path);
    if (!bytes) return TextResult::Fail(name + ": cannot read the file");
    std::size_t lineNo = 1;
    for (const std::uint8_t b : *bytes) {
        if (b == '\n') ++lineNo;
        if (b < 0x20 && b != '\t' && b != '\r' && b != '\n')
            return TextResult::Fail(name + ":" + std::to_string(lineNo) + ": a control byte in a text file");
    }
    const std::string_view text(reinterpret_cast<const char*>(bytes->data()), bytes->size());
    out = FromString(std::move(name), text);
    return TextResult::Ok();
}

TextSource TextSource::FromString(std::string name, std::string_view text)
{
    TextSource source;
    source.name_ = std::move(name);
    source.size_ = text.size();
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        source.lines_.emplace_back(TrimEnd(line));
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return source;
}

TextResult TextSource::Error(std::size_t index, std::string_view what) const
{
    return TextResult::Fail(name_ + ":" + std::to_string(index + 1) + ": " + std::string(what));
}

TextResult TextSource::Error(std::string_view what) const
{
    return TextResult::Fail(name_ + ": " + std::string(what));
}

std::vector<std::string_view> SplitWords(std::string_view line)
{
    std::vector<std::string_view> words;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && IsBlank(line[i])) ++i;
        const std::size_t start = i;
        while (i < line.size() && !IsBlank(line[i])) ++i;
        if (i > start) words.push_back(line.substr(start, i - start));
    }
    return words;
}

bool IsBlankOrComment(std::string_view line)
{
    for (const char c : line) {
        if (IsBlank(c)) continue;
        return c == '#';
    }
    return true;
}

bool IsInsidePath(std::string_view word)
{
    const std::filesystem::path p(word);
    if (p.empty() || p.is_absolute()) return false;
    for (const auto& part : p)
        if (part == "..") return false;
    return true;
}

std::string Quoted(std::string_view word)
{
    std::string out = "'";
    for (const char c : word) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || b >= 0x7F) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", b);
            out += hex;
        } else {
            out += c;
        }
    }
    return out + "'";
}

TextResult CheckVersionLine(const TextSource& source, std::string_view kind, std::int32_t version)
{
    const std::string expected = std::string(kind) + " " + std::to_string(version);
    if (source.LineCount() == 0) return source.Error("empty file; the first line must be '" + expected + "'");
    const auto words = SplitWords(source.Line(0));
    if (words.size() == 2 && words[0] == kind) {
        std::int32_t found = 0;
        if (ParseInt(words[1], found) && found == version) return TextResult::Ok();
        return source.Error(0, "version " + Quoted(words[1]) + " of " + std::string(kind) +
                                   " is not known; this tool reads version " + std::to_string(version));
    }
    return source.Error(0, "the first line must be '" + expected + "', found " + Quoted(source.Line(0)));
}

TextResult WriteTextFile(const std::filesystem::path& path, std::string_view text)
{
    const auto* data = reinterpret_cast<const std::uint8_t*>(text.data());
    if (!WriteFileAtomically(path, std::span<const std::uint8_t>(data, text.size())))
        return TextResult::Fail(path.string() + ": cannot write the file");
    return TextResult::Ok();
}

} // namespace brakkon
