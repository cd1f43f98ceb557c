#include "SimKeys.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <sstream>

namespace brakkon {
namespace {

struct NamedKey {
    std::string_view Name;
    KeyCode Code;
};

constexpr std::array<NamedKey, 10> NamedKeys{{{"left", VkLeft},
                                              {"right", VkRight},
                                              {"up", VkUp},
                                              {"down", VkDown},
                                              {"space", VkSpace},
                                              {"ctrl", VkControl},
                                              {"shift", VkShift},
                                              {"enter", VkReturn},
                                              {"escape", VkEscape},
                                              {"f1", VkF1}}};

std::string Lower(std::string_view s)
{
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

template <typename Int>
std::optional<Int> ParseNumber(std::string_view s)
{
    Int value{};
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (ec != std::errc() || end != s.data() + s.size() || s.empty()) return std::nullopt;
    return value;
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
        if (k.Name == lower) return k.Code;
    if (std::all_of(name.begin(), name.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); }))
        return ParseNumber<KeyCode>(name);
    return std::nullopt;
}

std::optional<std::vector<KeyEvent>> ParseKeyScript(std::string_view text, std::string& error)
{
    std::vector<KeyEvent> events;
    std::istringstream lines{std::string(text)};
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        std::istringstream words(line);
        std::string tick, action, key, extra;
        if (!(words >> tick) || tick[0] == '#') continue;
        auto fail = [&](const std::string& why) {
            error = "line " + std::to_string(number) + ": " + why;
            return std::nullopt;
        };
        if (!(words >> action >> key) || (words >> extra)) return fail("expected TICK press|release KEY");
        KeyEvent event;
        const auto at = ParseNumber<std::int64_t>(tick);
        if (!at || *at < 0) return fail("bad tick '" + tick + "'");
        event.Tick = *at;
        if (action == "press")
            event.Press = true;
        else if (action == "release")
            event.Press = false;
        else
            return fail("expected press or release, not '" + action + "'");
        const auto code = ParseKeyName(key);
        if (!code) return fail("unknown key '" + key + "'");
        event.Key = *code;
        events.push_back(event);
    }
    std::stable_sort(events.begin(), events.end(), [](const KeyEvent& a, const KeyEvent& b) { return a.Tick < b.Tick; });
    return events;
}

} // namespace brakkon
