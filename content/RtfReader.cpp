#include "content/Rtf.h"

#include "content/RtfCodePage.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <map>

namespace brakkon {
namespace {

constexpr std::size_t MaxDepth = 256;     ///< editors nest a few dozen groups at most
constexpr std::size_t MaxWordLength = 32; ///< longer control words are cut to this
constexpr std::int64_t MaxParameter = 2147483647;
constexpr int MaxSkipCount = 16;
constexpr int MinHalfPoints = 2;
constexpr int MaxHalfPoints = 400;
constexpr std::string_view LineSeparator = "\xE2\x80\xA8";

/// Where the characters of a group go.
enum class Destination { Text, FontTable, ColorTable, Skip };

/// Groups a reader may pass over whole.
constexpr std::array<std::string_view, 19> SkippedDestinations = {
    "author", "bkmkend", "bkmkstart", "comment", "datastore", "footer", "footerf", "footerl", "footerr", "footnote",
    "header", "headerf", "headerl", "headerr", "info", "object", "pict", "stylesheet", "title",
};

/// Control words that stand for one character.
constexpr std::pair<std::string_view, std::uint32_t> NamedCharacters[] = {
    {"bullet", 0x2022}, {"emdash", 0x2014},    {"endash", 0x2013},    {"emspace", 0x2003}, {"enspace", 0x2002},
    {"lquote", 0x2018}, {"rquote", 0x2019},    {"ldblquote", 0x201C}, {"rdblquote", 0x201D}, {"tab", '\t'},
};

struct Font {
    std::string Name;
    int CodePage = 0; ///< 0: the document's
};

/// What a group carries and hands back when it ends.
struct GroupState {
    RtfFormat Format;
    Destination Dest = Destination::Text;
    int FontNumber = -1;
    int SkipCount = 1; ///< characters that stand in for each \uN, for readers without Unicode
};

class Reader {
public:
    explicit Reader(std::string_view bytes) : bytes_(bytes) {}

    RtfResult Read();

private:
    void ControlWord();
    void Word(std::string_view word, bool hasParameter, int parameter);
    void Symbol(char c);
    void Character(unsigned char c);
    void Text(unsigned char c);
    void Byte(unsigned char b);
    void Flush();
    void Emit(std::string_view utf8);
    void Unicode(std::int64_t value);
    void EndParagraph();
    int CodePage() const;
    bool Skipping();

    std::string_view bytes_;
    std::size_t pos_ = 0;
    std::vector<GroupState> groups_;
    GroupState state_;
    RtfDocument doc_;
    RtfParagraph paragraph_;
    int documentCodePage_ = DefaultCodePage;
    int defaultFont_ = -1;
    std::map<int, Font> fonts_;
    int tableFont_ = -1; ///< the font table entry being read
    std::vector<std::optional<RtfColor>> colors_;
    RtfColor colorEntry_;
    bool colorGiven_ = false;
    std::string pending_; ///< 8-bit characters awaiting decoding
    int pendingCodePage_ = DefaultCodePage;
    int skip_ = 0;        ///< characters still to drop after a \uN
    std::uint32_t highSurrogate_ = 0;
    CodePageDecoder decoder_;
};

RtfResult Reader::Read()
{
    if (bytes_.substr(0, 5) != "{\\rtf") return {{}, MsgNotRtf};
    while (pos_ < bytes_.size()) {
        const char c = bytes_[pos_++];
        if (c == '{' || c == '}') {
            Flush();
            skip_ = 0;
            if (c == '{') {
                if (groups_.size() == MaxDepth) return {{}, MsgRtfTooDeep};
                groups_.push_back(state_);
                continue;
            }
            if (state_.Dest == Destination::FontTable) tableFont_ = -1;
            if (groups_.empty()) break;
            state_ = groups_.back();
            groups_.pop_back();
            if (groups_.empty()) break; // the document's own group has ended
        } else if (c == '\\') {
            ControlWord();
        } else if (c != '\r' && c != '\n') {
            Character(static_cast<unsigned char>(c));
        }
    }
    Flush();
    if (!paragraph_.Runs.empty()) doc_.Paragraphs.push_back(std::move(paragraph_));
    return {std::move(doc_), {}};
}

void Reader::ControlWord()
{
    if (pos_ >= bytes_.size()) return;
    const char first = bytes_[pos_];
    const auto letter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
    if (!letter(first)) {
        ++pos_;
        Symbol(first);
        return;
    }
    const std::size_t start = pos_;
    while (pos_ < bytes_.size() && letter(bytes_[pos_])) ++pos_;
    const std::string_view word = bytes_.substr(start, std::min(pos_ - start, MaxWordLength));
    bool negative = false;
    if (pos_ < bytes_.size() && bytes_[pos_] == '-') {
        negative = true;
        ++pos_;
    }
    std::int64_t value = 0;
    bool hasParameter = false;
    while (pos_ < bytes_.size() && bytes_[pos_] >= '0' && bytes_[pos_] <= '9') {
        value = std::min(value * 10 + (bytes_[pos_++] - '0'), MaxParameter);
        hasParameter = true;
    }
    if (pos_ < bytes_.size() && bytes_[pos_] == ' ') ++pos_; // the delimiter belongs to the word
    if (word == "bin") { // raw bytes follow, as many as the parameter says
        pos_ += static_cast<std::size_t>(std::min<std::int64_t>(negative ? 0 : value, static_cast<std::int64_t>(bytes_.size() - pos_)));
        return;
    }
    if (word == "u") { // a \u is not itself skipped: its stand-ins are
        Flush();
        Unicode(negative ? -value : value);
        return;
    }
    if (Skipping()) return;
    Flush();
    Word(word, hasParameter, static_cast<int>(negative ? -value : value));
}

void Reader::Word(std::string_view word, bool hasParameter, int parameter)
{
    const bool on = !hasParameter || parameter != 0;
    RtfFormat& f = state_.Format;
    if (word == "par") EndParagraph();
    else if (word == "line") Emit(LineSeparator);
    else if (word == "b") f.Bold = on;
    else if (word == "i") f.Italic = on;
    else if (word == "ul" || word == "uld" || word == "uldb" || word == "ulw" || word == "ulth") f.Underline = on;
    else if (word == "ulnone") f.Underline = false;
    else if (word == "fs") f.HalfPoints = hasParameter ? std::clamp(parameter, MinHalfPoints, MaxHalfPoints) : 24;
    else if (word == "cf") {
        const bool listed = parameter > 0 && static_cast<std::size_t>(parameter) < colors_.size();
        f.Color = listed ? colors_[static_cast<std::size_t>(parameter)] : std::nullopt;
    } else if (word == "plain") {
        f = RtfFormat{};
        if (const auto it = fonts_.find(defaultFont_); it != fonts_.end()) f.Font = it->second.Name;
        state_.FontNumber = defaultFont_;
    } else if (word == "f") {
        if (state_.Dest == Destination::FontTable) {
            tableFont_ = parameter;
            fonts_[parameter] = Font{};
        } else {
            state_.FontNumber = parameter;
            const auto it = fonts_.find(parameter);
            f.Font = it != fonts_.end() ? it->second.Name : std::string();
        }
    } else if (word == "fcharset" || word == "cpg") {
        if (state_.Dest == Destination::FontTable && tableFont_ >= 0)
            fonts_[tableFont_].CodePage = word == "cpg" ? parameter : CodePageOfCharset(parameter);
    } else if (word == "deff") defaultFont_ = parameter;
    else if (word == "ansicpg") documentCodePage_ = parameter > 0 ? parameter : DefaultCodePage;
    else if (word == "ansi") documentCodePage_ = DefaultCodePage;
    else if (word == "mac") documentCodePage_ = 10000;
    else if (word == "pc") documentCodePage_ = 437;
    else if (word == "pca") documentCodePage_ = 850;
    else if (word == "uc") state_.SkipCount = std::clamp(parameter, 0, MaxSkipCount);
    else if (word == "red") colorEntry_.Red = static_cast<std::uint8_t>(std::clamp(parameter, 0, 255)), colorGiven_ = true;
    else if (word == "green") colorEntry_.Green = static_cast<std::uint8_t>(std::clamp(parameter, 0, 255)), colorGiven_ = true;
    else if (word == "blue") colorEntry_.Blue = static_cast<std::uint8_t>(std::clamp(parameter, 0, 255)), colorGiven_ = true;
    else if (word == "fonttbl") state_.Dest = Destination::FontTable;
    else if (word == "colortbl") state_.Dest = Destination::ColorTable;
    else if (std::find(SkippedDestinations.begin(), SkippedDestinations.end(), word) != SkippedDestinations.end())
        state_.Dest = Destination::Skip;
    else
        for (const auto& [name, c] : NamedCharacters)
            if (word == name) {
                std::string utf8;
                AppendUtf8(utf8, c);
                Emit(utf8);
            }
}

void Reader::Symbol(char c)
{
    if (c == '\'') { // one byte in the document's code page, as two hex digits
        const auto hex = [](char h) {
            if (h >= '0' && h <= '9') return h - '0';
            if (h >= 'a' && h <= 'f') return h - 'a' + 10;
            if (h >= 'A' && h <= 'F') return h - 'A' + 10;
            return -1;
        };
        int value = 0;
        for (int i = 0; i < 2 && pos_ < bytes_.size() && hex(bytes_[pos_]) >= 0; ++i) value = value * 16 + hex(bytes_[pos_++]);
        if (!Skipping()) Byte(static_cast<unsigned char>(value));
        return;
    }
    if (Skipping()) return;
    switch (c) {
    case '\\': case '{': case '}': Text(static_cast<unsigned char>(c)); break;
    case '~': Flush(), Emit("\xC2\xA0"); break;      // no-break space
    case '_': Flush(), Emit("\xE2\x80\x91"); break;  // no-break hyphen
    case '*': state_.Dest = Destination::Skip; break; // a destination this reader does not know
    case '\n': case '\r': Flush(), EndParagraph(); break;
    default: break;
    }
}

void Reader::Character(unsigned char c)
{
    if (!Skipping()) Text(c);
}

void Reader::Text(unsigned char c)
{
    if (c >= 0x80 || (!pending_.empty() && DoubleByteCodePage(pendingCodePage_))) {
        Byte(c); // 8-bit text, or the second byte of a double-byte character
        return;
    }
    Flush();
    if (state_.Dest == Destination::FontTable) {
        if (c == ';') tableFont_ = -1;
        else if (tableFont_ >= 0 && c >= 0x20) fonts_[tableFont_].Name += static_cast<char>(c);
    } else if (state_.Dest == Destination::ColorTable) {
        if (c != ';') return;
        colors_.push_back(colorGiven_ ? std::optional<RtfColor>(colorEntry_) : std::nullopt);
        colorEntry_ = {};
        colorGiven_ = false;
    } else if (c >= 0x20) {
        const char ch = static_cast<char>(c);
        Emit(std::string_view(&ch, 1));
    }
}

void Reader::Byte(unsigned char b)
{
    if (state_.Dest != Destination::Text || (b < 0x20 && pending_.empty())) return; // no control characters
    const int codePage = CodePage();
    if (!pending_.empty() && codePage != pendingCodePage_) Flush();
    pendingCodePage_ = codePage;
    pending_ += static_cast<char>(b);
    if (!DoubleByteCodePage(codePage)) return;
    // A double-byte character waits for its second byte; anything else is decoded now.
    std::size_t i = 0;
    while (i < pending_.size()) i += LeadByte(codePage, static_cast<unsigned char>(pending_[i])) ? 2 : 1;
    if (i == pending_.size()) Flush();
}

void Reader::Flush()
{
    if (pending_.empty()) return;
    std::string text;
    decoder_.Decode(pendingCodePage_, pending_, text);
    pending_.clear();
    Emit(text);
}

void Reader::Emit(std::string_view utf8)
{
    if (state_.Dest != Destination::Text || utf8.empty()) return;
    if (paragraph_.Runs.empty() || !(paragraph_.Runs.back().Format == state_.Format))
        paragraph_.Runs.push_back({std::string(), state_.Format});
    paragraph_.Runs.back().Text += utf8;
}

void Reader::Unicode(std::int64_t value)
{
    skip_ = state_.SkipCount;
    if (value < 0) value += 65536; // written as a signed 16-bit number
    auto c = static_cast<std::uint32_t>(value >= 0 && value <= 0x10FFFF ? value : 0xFFFD);
    if (c >= 0xD800 && c <= 0xDBFF) {
        highSurrogate_ = c;
        return;
    }
    if (c >= 0xDC00 && c <= 0xDFFF && highSurrogate_ != 0) c = 0x10000 + ((highSurrogate_ - 0xD800) << 10) + (c - 0xDC00);
    highSurrogate_ = 0;
    std::string utf8;
    AppendUtf8(utf8, c);
    Emit(utf8);
}

void Reader::EndParagraph()
{
    if (state_.Dest != Destination::Text) return;
    doc_.Paragraphs.push_back(std::move(paragraph_));
    paragraph_ = {};
}

int Reader::CodePage() const
{
    if (const auto it = fonts_.find(state_.FontNumber); it != fonts_.end() && it->second.CodePage != 0)
        return it->second.CodePage;
    return documentCodePage_;
}

/// Drops one stand-in character of the last \uN, if any are left.
bool Reader::Skipping()
{
    if (skip_ == 0) return false;
    --skip_;
    return true;
}

} // namespace

RtfResult ReadRtf(std::string_view bytes)
{
    return Reader(bytes).Read();
}

} // namespace brakkon
