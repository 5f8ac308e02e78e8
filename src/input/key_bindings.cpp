#include "input/key_bindings.h"

#include <array>
#include <charconv>

#include "platform/platform.h"

namespace ib {

namespace {

using B = PlayerButton;

constexpr std::array<KeyBinding, 12> kBindings{{
    {'B', 1, B::Right},    {'C', 1, B::Left},        {'F', 1, B::Up},
    {'V', 1, B::Down},     {'X', 1, B::Attack},      {'Z', 1, B::Block},
    {VK_LEFT, 2, B::Left}, {VK_RIGHT, 2, B::Right},  {VK_UP, 2, B::Up},
    {VK_DOWN, 2, B::Down}, {VK_OEM_2, 2, B::Attack}, {VK_OEM_PERIOD, 2, B::Block},
}};

struct Named {
    std::string_view name;
    int code;
};
constexpr Named kNames[] = {
    {"LEFT", VK_LEFT},     {"UP", VK_UP},     {"RIGHT", VK_RIGHT},
    {"DOWN", VK_DOWN},     {"PERIOD", VK_OEM_PERIOD}, {"SLASH", VK_OEM_2},
    {"ESCAPE", VK_ESCAPE}, {"F1", VK_F1},     {"F10", VK_F10},   {"F12", VK_F12},
    {"SPACE", VK_SPACE},
    {"ENTER", VK_RETURN},
};

}  // namespace

std::span<const KeyBinding> keyBindings() { return kBindings; }

int mapKey(std::span<const KeyBinding> table, const Fighter& fighter1, const Fighter& fighter2,
           int player, int virtualKey)
{
    for (const KeyBinding& k : table)
        if (k.virtualKey == virtualKey && k.player == player)
            return buttonCode(player == 1 ? fighter1 : fighter2, k.button);
    return 0;
}

int mapKey(const Fighter& fighter1, const Fighter& fighter2, int player, int virtualKey)
{
    return mapKey(kBindings, fighter1, fighter2, player, virtualKey);
}

void keyToStep(std::span<const KeyBinding> table, StepInput& out, int virtualKey, bool down, unsigned players)
{
    bool first = false;
    for (int player = 1; player <= 2; ++player) {
        if (!(players & (1u << (player - 1)))) continue;
        for (const KeyBinding& k : table) {
            if (k.virtualKey != virtualKey || k.player != player) continue;
            if (down) out.press(player, k.button, first);
            else out.release(player, k.button);
            first = player == 1;
            break;
        }
    }
}

std::optional<int> keyFromName(std::string_view name)
{
    if (name.size() == 1) {
        const char c = name[0];
        if (c >= 'A' && c <= 'Z') return c;
        if (c >= 'a' && c <= 'z') return c - 'a' + 'A';
        if (c >= '0' && c <= '9') return c;
    }
    std::string upper(name);
    for (char& c : upper)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    for (const Named& n : kNames)
        if (n.name == upper) return n.code;
    if (upper.size() >= 2 && upper[0] == 'F') {  // F1 to F12
        int n = 0;
        const auto [end, ec] = std::from_chars(upper.data() + 1, upper.data() + upper.size(), n);
        if (ec == std::errc() && end == upper.data() + upper.size() && n >= 1 && n <= 12)
            return 0x70 + n - 1;
    }
    int code = 0;
    const auto [end, ec] = std::from_chars(name.data(), name.data() + name.size(), code);
    if (ec == std::errc() && end == name.data() + name.size() && code >= 1 && code <= 255) return code;
    return std::nullopt;
}

std::string keyName(int virtualKey)
{
    if ((virtualKey >= 'A' && virtualKey <= 'Z') || (virtualKey >= '0' && virtualKey <= '9'))
        return std::string(1, static_cast<char>(virtualKey));
    for (const Named& n : kNames)
        if (n.code == virtualKey) return std::string(n.name);
    return std::to_string(virtualKey);
}

}  // namespace ib
