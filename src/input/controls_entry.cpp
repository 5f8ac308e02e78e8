#include "input/controls_entry.h"

#include <algorithm>
#include <cctype>

#include "content/whole_number.h"
#include "platform/input_names.h"
#include "platform/platform.h"

namespace ib::controls_file {

namespace {

constexpr int kMaxDeadZone = 32767;

bool isGuid(std::string_view s)
{
    return s.size() == 32 &&
           std::all_of(s.begin(), s.end(), [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); });
}

std::string lower(std::string_view s)
{
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

std::optional<int> deadZoneOf(std::string_view s)
{
    const std::optional<int> v = wholeNumber<int>(s);
    if (!v || *v < 0 || *v > kMaxDeadZone) return std::nullopt;
    return v;
}

}  // namespace

std::optional<Meaning> meaningOf(const IniEntry& e)
{
    Meaning m;
    if (e.section == kPadsSection) {
        if (e.name != kDeadZoneEntry) {
            m.problem = "unknown entry \"" + e.name + "\" in [pads]; it is left alone";
            return m;
        }
        m.kind = Kind::DeadZone;
        if (auto v = deadZoneOf(e.value)) m.value = *v;
        else m.problem = "the dead zone \"" + e.value + "\" is not a whole number from 0 to 32767";
        return m;
    }
    for (int p = 1; p <= 2; ++p) {
        if (e.section != kPlayerSections[p - 1]) continue;
        m.player = p;
        if (e.name == kPadEntry) {
            m.kind = Kind::PadGuid;
            m.guid = lower(e.value);
            if (!m.guid.empty() && !isGuid(m.guid))
                m.problem = "\"" + e.value + "\" is not a pad's GUID (32 hexadecimal digits)";
            return m;
        }
        for (Action a : kActions) {
            const std::string name(actionName(a));
            if (e.name == name) {
                m.kind = Kind::Key;
                m.action = a;
                const auto vk = virtualKeyFromKeyName(e.value);
                if (!vk) m.problem = "unknown key \"" + e.value + "\"";
                else if (*vk == VK_ESCAPE || *vk == VK_F12)
                    m.problem = "\"" + e.value + "\" closes the game and cannot be bound";
                else if (*vk == VK_F10)
                    m.problem = "\"" + e.value + "\" switches the sound and cannot be bound";
                else m.value = *vk;
                return m;
            }
            if (e.name == "pad-" + name) {
                m.kind = Kind::PadButton;
                m.action = a;
                const auto b = padButtonFromName(e.value);
                if (!b) m.problem = "unknown pad button \"" + e.value + "\"";
                else m.value = *b;
                return m;
            }
        }
        m.problem = "unknown entry \"" + e.name + "\" in [" + e.section + "]; it is left alone";
        return m;
    }
    return std::nullopt;  // a section of someone else's: kept, not read
}

std::string valueText(Kind kind, const Controls& c, int player, Action a)
{
    const auto p = static_cast<std::size_t>(player - 1);
    const auto i = static_cast<std::size_t>(a);
    switch (kind) {
    case Kind::Key: return keyNameOf(c.keys[p][i]);
    case Kind::PadButton: return padButtonName(c.padButtons[p][i]);
    case Kind::PadGuid: return c.padGuid[p];
    case Kind::DeadZone: return std::to_string(c.deadZone);
    }
    return {};
}

bool sameValue(const Meaning& m, const Controls& c)
{
    if (!m.problem.empty()) return false;
    const auto p = static_cast<std::size_t>(m.player - 1);
    const auto i = static_cast<std::size_t>(m.action);
    switch (m.kind) {
    case Kind::Key: return c.keys[p][i] == m.value;
    case Kind::PadButton: return c.padButtons[p][i] == m.value;
    case Kind::PadGuid: return c.padGuid[p] == m.guid;
    case Kind::DeadZone: return c.deadZone == m.value;
    }
    return false;
}

}  // namespace ib::controls_file
