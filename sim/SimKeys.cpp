#include "sim/SimKeys.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace brakkon {
namespace {

struct NamedKey {
    std::string_view Name;
    KeyCode Code;
};

constexpr std::array<NamedKey, 10> NamedKeys{{{"Left", VkLeft},
                                              {"Right", VkRight},
                                              {"Up", VkUp},
                                              {"Down", VkDown},
                                              {"Space", VkSpace},
                                              {"Ctrl", VkControl},
                                              {"Shift", VkShift},
                                              {"Enter", VkReturn},
                                              {"Escape", VkEscape},
                                              {"F1", VkF1}}};

std::string Lower(std::string_view s)
{
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

} // namespace

std::optional<KeyCode> ParseKeyName(std::string_view name)
{
    if (name.size() == 1) {
        const auto c = static_cast<unsigned char>(name[0]);
        if (std::isdigit(c)) return static_cast<KeyCode>(VkDigit0 + (c - '0'));
        if (std::isalpha(c)) return VkLetter(static_cast<char>(std::toupper(c)));
        return std::nullopt;
    }
    const std::string lower = Lower(name);
    for (const NamedKey& k : NamedKeys)
        if (Lower(k.Name) == lower) return k.Code;
    KeyCode code = 0;
    if (ParseInt(name, code)) return code;
    return std::nullopt;
}

std::string KeyName(KeyCode code)
{
    for (const NamedKey& k : NamedKeys)
        if (k.Code == code) return std::string(k.Name);
    if ((code >= VkDigit0 && code <= VkDigit0 + 9) || (code >= VkLetterA && code <= VkLetter('Z')))
        return std::string(1, static_cast<char>(code));
    std::string digits = std::to_string(code);
    return digits.size() < 2 ? "0" + digits : digits;
}

TextResult ReadKeyScript(const TextSource& source, std::vector<KeyEvent>& events)
{
    std::vector<KeyEvent> read;
    for (std::size_t i = 0; i < source.LineCount(); ++i) {
        if (IsBlankOrComment(source.Line(i))) continue;
        const auto words = SplitWords(source.Line(i));
        if (words.size() != 3) return source.Error(i, "expected TICK press|release KEY");
        KeyEvent event;
        if (!ParseInt(words[0], event.Tick) || event.Tick < 0) return source.Error(i, "bad tick " + Quoted(words[0]));
        if (words[1] == "press")
            event.Press = true;
        else if (words[1] == "release")
            event.Press = false;
        else
            return source.Error(i, "expected press or release, not " + Quoted(words[1]));
        const auto code = ParseKeyName(words[2]);
        if (!code) return source.Error(i, "unknown key " + Quoted(words[2]));
        event.Key = *code;
        read.push_back(event);
    }
    std::stable_sort(read.begin(), read.end(), [](const KeyEvent& a, const KeyEvent& b) { return a.Tick < b.Tick; });
    events = std::move(read);
    return TextResult::Ok();
}

} // namespace brakkon
