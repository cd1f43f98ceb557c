// The intro's RTF reader: text and paragraphs, the code pages of
// \'hh bytes, Unicode characters, and hostile input.
#include "content/Rtf.h"

#include <gtest/gtest.h>

#include <string>

namespace brakkon {
namespace {

/// The document's text with its paragraphs on lines of their own.
std::string Plain(const RtfDocument& doc)
{
    std::string out;
    for (const RtfParagraph& p : doc.Paragraphs) {
        for (const RtfRun& r : p.Runs) out += r.Text;
        out += '\n';
    }
    return out;
}

struct TextCase {
    const char* name;
    std::string rtf;
    std::string text; ///< Plain() of the document
};

void PrintTo(const TextCase& c, std::ostream* os) { *os << c.name; }

class RtfText : public ::testing::TestWithParam<TextCase> {};

TEST_P(RtfText, ReadsAsWritten)
{
    const RtfResult result = ReadRtf(GetParam().rtf);
    ASSERT_TRUE(result) << result.Message;
    EXPECT_EQ(Plain(result.Document), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Rtf, RtfText,
    ::testing::Values(
        TextCase{"ParagraphsAndLiterals", R"({\rtf1 one\par\par two \{\}\\\tab x\line y})", "one\n\ntwo {}\\\tx\xE2\x80\xA8y\n"},
        TextCase{"WindowsLatinByDefault", R"({\rtf1\ansi a \'96 b\'e9})", "a \xE2\x80\x93 b\xC3\xA9\n"},
        TextCase{"DocumentCodePageGb2312", R"({\rtf1\ansi\ansicpg936 \'c4\'e3\'ba\'c3!})", "\xE4\xBD\xA0\xE5\xA5\xBD!\n"},
        TextCase{"FontCharsetChoosesTheCodePage",
                 R"({\rtf1\ansi\ansicpg1252{\fonttbl{\f0 Arial;}{\f1\fcharset134 SimSun;}}\f1\'c4\'e3\f0\'e9})",
                 "\xE4\xBD\xA0\xC3\xA9\n"},
        TextCase{"ShiftJisTrailByteWrittenPlain", R"({\rtf1\ansi\ansicpg932 \'82\'a0\'83A})", "\xE3\x81\x82\xE3\x82\xA2\n"},
        TextCase{"UnicodeWithItsStandIns", R"({\rtf1 a\u20320?b\uc2\u22909\'3f\'3fc{\uc0\u33 d}\u-10179?\u-8704?})",
                 "a\xE4\xBD\xA0" "b\xE5\xA5\xBD" "c!d\xF0\x9F\x98\x80\n"},
        TextCase{"DestinationsPassedOver",
                 R"({\rtf1{\info{\title T}}{\*\generator G;}{\stylesheet{\s0 Normal;}}{\pict\bin4 {}}x}text})", "text\n"},
        TextCase{"UndecodableByteReplaced", R"({\rtf1\ansicpg936 \'ff.})", "\xEF\xBF\xBD.\n"},
        TextCase{"CutShortKeepsTheTextSoFar", R"({\rtf1 {\b bold \'c)", "bold \n"},
        TextCase{"HugeNumbersAreClamped", R"({\rtf1\fs99999999999999999999\uc99999999999 x\cf-99999999999 y\u99999999999 z})",
                 "xy\xEF\xBF\xBD\n"}),
    [](const ::testing::TestParamInfo<TextCase>& info) { return std::string(info.param.name); });

TEST(Rtf, RefusesWhatIsNoRtfAndEndlessNesting)
{
    EXPECT_EQ(ReadRtf("plain text").Message, MsgNotRtf);
    EXPECT_EQ(ReadRtf("").Message, MsgNotRtf);
    const RtfResult deep = ReadRtf("{\\rtf1 x" + std::string(100000, '{'));
    EXPECT_EQ(deep.Message, MsgRtfTooDeep);
    EXPECT_TRUE(deep.Document.Paragraphs.empty());
    EXPECT_TRUE(ReadRtf("{\\rtf1 x" + std::string(200, '{') + std::string(200, '}') + "y}"));
}

} // namespace
} // namespace brakkon
