// The intro's RTF reader on arbitrary bytes: every input gives a document of
// valid UTF-8 runs, or is refused with one of its messages and no text.
#include "content/Rtf.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

bool ValidUtf8(std::string_view s)
{
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        const std::size_t length = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
        if (length == 0 || i + length > s.size()) return false;
        for (std::size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(s[i + k]) >> 6) != 0x2) return false;
        i += length;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const brakkon::RtfResult result = brakkon::ReadRtf({reinterpret_cast<const char*>(data), size});
    if (!result) {
        if (result.Message != brakkon::MsgNotRtf && result.Message != brakkon::MsgRtfTooDeep) __builtin_trap();
        if (!result.Document.Paragraphs.empty()) __builtin_trap();
        return 0;
    }
    for (const brakkon::RtfParagraph& p : result.Document.Paragraphs)
        for (const brakkon::RtfRun& r : p.Runs)
            if (r.Text.empty() || !ValidUtf8(r.Text)) __builtin_trap();
    return 0;
}
