// Decoding of the RTF reader's 8-bit text: Windows code pages through iconv.
//
// One decoder lives for one reading and keeps the converters it opened. A
// code page iconv does not know is read as Windows Latin (1252); a byte
// that does not decode becomes U+FFFD.
#pragma once

#include <iconv.h>

#include <map>
#include <string>
#include <string_view>

namespace brakkon {

inline constexpr int DefaultCodePage = 1252;

/// The code page of a font's \fcharset; 0 for the document's own.
[[nodiscard]] int CodePageOfCharset(int charset);

/// True when `codePage` writes some characters as two bytes.
[[nodiscard]] bool DoubleByteCodePage(int codePage);

/// True when `b` opens a two-byte character of double-byte code page `codePage`.
[[nodiscard]] bool LeadByte(int codePage, unsigned char b);

/// Appends code point `c` to `out` as UTF-8 (U+FFFD for what is no character).
void AppendUtf8(std::string& out, std::uint32_t c);

class CodePageDecoder {
public:
    CodePageDecoder() = default;
    ~CodePageDecoder();
    CodePageDecoder(const CodePageDecoder&) = delete;
    CodePageDecoder& operator=(const CodePageDecoder&) = delete;

    /// Appends `bytes`, written in `codePage`, to `out` as UTF-8.
    void Decode(int codePage, std::string_view bytes, std::string& out);

private:
    iconv_t Converter(int codePage);

    std::map<int, iconv_t> open_; ///< by code page; (iconv_t)-1 for one iconv does not know
};

} // namespace brakkon
