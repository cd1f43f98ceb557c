// The intro's rich text: a small RTF reader and the document it builds.
//
// ReadRtf turns the bytes of an RTF file into paragraphs of runs of UTF-8
// text with their character formatting (bold, italic, underline, size,
// colour, font name). Characters written as \'hh are decoded in the code page
// the document names (\ansicpg, or the \fcharset of the font in use) and
// \uN characters are taken with their skip count. Pictures, style sheets and
// the other destinations a reader may ignore are passed over. The reader
// holds no Qt type: the intro window turns the document into its own, and the
// fuzzer links this library alone.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brakkon {

inline constexpr std::string_view MsgNotRtf = "Not an RTF document";
inline constexpr std::string_view MsgRtfTooDeep = "RTF groups nested too deeply";

struct RtfColor {
    std::uint8_t Red = 0;
    std::uint8_t Green = 0;
    std::uint8_t Blue = 0;
    bool operator==(const RtfColor&) const = default;
};

struct RtfFormat {
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    int HalfPoints = 24;              ///< font size in half points (\fs)
    std::optional<RtfColor> Color;    ///< none: the text box's own colour
    std::string Font;                 ///< font name from the font table; empty for the box's own
    bool operator==(const RtfFormat&) const = default;
};

struct RtfRun {
    std::string Text; ///< UTF-8; U+2028 stands for a line break inside the paragraph
    RtfFormat Format;
};

struct RtfParagraph {
    std::vector<RtfRun> Runs;
};

struct RtfDocument {
    std::vector<RtfParagraph> Paragraphs;
};

struct [[nodiscard]] RtfResult {
    RtfDocument Document;
    std::string_view Message; ///< empty on success

    explicit operator bool() const { return Message.empty(); }
};

/// Reads an RTF document. Bytes that do not begin "{\rtf", and groups nested
/// deeper than any editor writes, are refused with one message and an empty
/// document; a file cut short gives the text up to the cut.
RtfResult ReadRtf(std::string_view bytes);

} // namespace brakkon
