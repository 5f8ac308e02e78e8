#include "input/controls.h"

#include <algorithm>

#include "content/whole_number.h"
#include "platform/input_names.h"

namespace ib {

namespace {

constexpr std::array<int, kActionCount> kPadDefaults1{kPadDpadRight, kPadDpadLeft, kPadDpadUp,
                                                      kPadDpadDown,  kPadA,        kPadB};
constexpr std::array<int, kActionCount> kPadDefaults2{kPadDpadLeft, kPadDpadRight, kPadDpadUp,
                                                      kPadDpadDown, kPadA,         kPadB};

std::string ownerName(int player, Action a)
{
    return "player " + std::to_string(player) + "'s " + std::string(actionName(a));
}

}  // namespace

std::string controlsCode(const Controls& controls)
{
    std::string code;
    auto add = [&](int value) {
        if (!code.empty()) code += ',';
        code += std::to_string(value);
    };
    for (const auto& player : controls.keys)
        for (int key : player) add(key);
    for (const auto& player : controls.padButtons)
        for (int button : player) add(button);
    add(controls.deadZone);
    return code;
}

bool readControlsCode(std::string_view code, Controls& controls)
{
    constexpr std::size_t kValues = 4 * kActionCount + 1;
    std::array<int, kValues> values{};
    std::size_t n = 0;
    for (std::size_t at = 0; at <= code.size(); ++n) {
        const std::size_t comma = std::min(code.find(',', at), code.size());
        const std::string_view word = code.substr(at, comma - at);
        const std::optional<int> v = wholeNumber<int>(word);
        if (n >= kValues || !v) return false;
        values[n] = *v;
        at = comma + 1;
    }
    if (n != kValues) return false;
    Controls read = controls;
    std::size_t i = 0;
    for (auto& player : read.keys)
        for (int& key : player) key = values[i++];
    for (auto& player : read.padButtons)
        for (int& button : player) button = values[i++];
    read.deadZone = values[i];
    auto inRange = [](int v, int low, int high) { return v >= low && v <= high; };
    for (std::size_t k = 0; k < 2 * kActionCount; ++k)
        if (!inRange(values[k], 0, 255) || !inRange(values[2 * kActionCount + k], -1, kPadButtonCount))
            return false;
    if (!inRange(read.deadZone, 0, 32767)) return false;
    controls = read;
    return true;
}

std::string_view actionName(Action a)
{
    switch (a) {
    case Action::Toward: return "toward";
    case Action::Away: return "away";
    case Action::Up: return "up";
    case Action::Down: return "down";
    case Action::Attack: return "attack";
    case Action::Block: return "block";
    }
    return "";
}

PlayerButton screenButton(int player, Action a)
{
    switch (a) {
    case Action::Toward: return player == 1 ? PlayerButton::Right : PlayerButton::Left;
    case Action::Away: return player == 1 ? PlayerButton::Left : PlayerButton::Right;
    case Action::Up: return PlayerButton::Up;
    case Action::Down: return PlayerButton::Down;
    case Action::Attack: return PlayerButton::Attack;
    case Action::Block: return PlayerButton::Block;
    }
    return PlayerButton::Attack;
}

Action actionOf(int player, PlayerButton b)
{
    for (Action a : kActions)
        if (screenButton(player, a) == b) return a;
    return Action::Attack;
}

Controls defaultControls()
{
    Controls c;
    for (const KeyBinding& k : keyBindings())
        c.keys[static_cast<size_t>(k.player - 1)][static_cast<size_t>(actionOf(k.player, k.button))] =
            k.virtualKey;
    c.padButtons = {kPadDefaults1, kPadDefaults2};
    return c;
}

std::vector<KeyBinding> keyTable(const Controls& controls)
{
    // In the order of the default table, so that a key bound to both
    // players (never, once loaded) behaves as it does there.
    std::vector<KeyBinding> table;
    for (const KeyBinding& k : keyBindings()) {
        const Action a = actionOf(k.player, k.button);
        table.push_back({controls.keys[static_cast<size_t>(k.player - 1)][static_cast<size_t>(a)],
                         k.player, k.button});
    }
    return table;
}

std::string keyOwner(const Controls& controls, int virtualKey, int player, Action action)
{
    for (int p = 1; p <= 2; ++p)
        for (Action a : kActions)
            if ((p != player || a != action) &&
                controls.keys[static_cast<size_t>(p - 1)][static_cast<size_t>(a)] == virtualKey)
                return ownerName(p, a);
    return {};
}

std::string padButtonOwner(const Controls& controls, int button, int player, Action action)
{
    // Each player's pad is a pad of its own: only the player's own actions
    // can clash.
    for (Action a : kActions)
        if (a != action && controls.padButtons[static_cast<size_t>(player - 1)][static_cast<size_t>(a)] == button)
            return ownerName(player, a);
    return {};
}

}  // namespace ib
