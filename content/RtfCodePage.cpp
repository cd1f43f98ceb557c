#include "content/RtfCodePage.h"

#include <cerrno>
#include <cstdint>

namespace brakkon {
namespace {

const iconv_t NoConverter = reinterpret_cast<iconv_t>(static_cast<std::intptr_t>(-1));
constexpr std::uint32_t Replacement = 0xFFFD;

struct CharsetCodePage {
    int Charset;
    int CodePage;
};

constexpr CharsetCodePage CharsetCodePages[] = {
    {2, 1252},   {77, 10000}, {128, 932},  {129, 949},  {130, 1361}, {134, 936},  {136, 950},  {161, 1253},
    {162, 1254}, {163, 1258}, {177, 1255}, {178, 1256}, {186, 1257}, {204, 1251}, {222, 874},  {238, 1250},
    {255, 437},
};

std::string IconvName(int codePage)
{
    switch (codePage) {
    case 10000: return "MACINTOSH";
    case 20936: return "GB2312";
    case 54936: return "GB18030";
    case 65001: return "UTF-8";
    default: return "CP" + std::to_string(codePage);
    }
}

} // namespace

int CodePageOfCharset(int charset)
{
    for (const CharsetCodePage& c : CharsetCodePages)
        if (c.Charset == charset) return c.CodePage;
    return 0;
}

bool DoubleByteCodePage(int codePage)
{
    return codePage == 932 || codePage == 936 || codePage == 949 || codePage == 950 || codePage == 1361;
}

bool LeadByte(int codePage, unsigned char b)
{
    if (codePage == 932) return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); // 0xA1..0xDF are half-width kana
    return b >= 0x81 && b <= 0xFE;
}

void AppendUtf8(std::string& out, std::uint32_t c)
{
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = Replacement;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

CodePageDecoder::~CodePageDecoder()
{
    for (auto& [codePage, converter] : open_)
        if (converter != NoConverter) iconv_close(converter);
}

iconv_t CodePageDecoder::Converter(int codePage)
{
    auto it = open_.find(codePage);
    if (it == open_.end()) it = open_.emplace(codePage, iconv_open("UTF-8", IconvName(codePage).c_str())).first;
    if (it->second != NoConverter || codePage == DefaultCodePage) return it->second;
    return Converter(DefaultCodePage);
}

void CodePageDecoder::Decode(int codePage, std::string_view bytes, std::string& out)
{
    const iconv_t converter = Converter(codePage);
    if (converter == NoConverter) { // not even Windows Latin: keep ASCII only
        for (const char b : bytes) AppendUtf8(out, static_cast<unsigned char>(b) < 0x80 ? static_cast<unsigned char>(b) : Replacement);
        return;
    }
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
    char buffer[256];
    char* in = const_cast<char*>(bytes.data()); // iconv's signature; it does not write there
    std::size_t inLeft = bytes.size();
    while (inLeft > 0) {
        char* to = buffer;
        std::size_t toLeft = sizeof buffer;
        const std::size_t done = iconv(converter, &in, &inLeft, &to, &toLeft);
        out.append(buffer, static_cast<std::size_t>(to - buffer));
        if (done != static_cast<std::size_t>(-1) || errno == E2BIG) continue;
        // A byte that starts no character, or a character cut off at the end.
        AppendUtf8(out, Replacement);
        ++in;
        --inLeft;
        iconv(converter, nullptr, nullptr, nullptr, nullptr);
    }
}

} // namespace brakkon
