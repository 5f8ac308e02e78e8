#include "app/menu_keys.h"

#include "platform/input_names.h"
#include "platform/platform.h"

namespace ib {

namespace {

template <typename Table>
bool isPlayers(const Table& perPlayer, int code, Action a)
{
    for (const auto& codes : perPlayer)
        if (codes[static_cast<std::size_t>(a)] == code) return true;
    return false;
}

}  // namespace

std::optional<PlayersAction> playersKey(const Controls& controls, int key)
{
    for (int p = 1; p <= 2; ++p)
        for (Action a : kActions)
            if (controls.keys[static_cast<std::size_t>(p - 1)][static_cast<std::size_t>(a)] == key)
                return PlayersAction{p, a};
    return std::nullopt;
}

MenuKey menuKeyOf(const Controls& controls, int key)
{
    const auto own = playersKey(controls, key);
    const auto is = [&](Action a) { return own && own->action == a; };
    if (key == VK_UP || is(Action::Up)) return MenuKey::Up;
    if (key == VK_DOWN || is(Action::Down)) return MenuKey::Down;
    if (key == VK_RETURN || is(Action::Attack)) return MenuKey::Choose;
    return MenuKey::None;
}

MenuKey menuPadButtonOf(const Controls& controls, int button)
{
    if (button == kPadDpadUp || isPlayers(controls.padButtons, button, Action::Up)) return MenuKey::Up;
    if (button == kPadDpadDown || isPlayers(controls.padButtons, button, Action::Down)) return MenuKey::Down;
    if (button == kPadA || isPlayers(controls.padButtons, button, Action::Attack)) return MenuKey::Choose;
    return MenuKey::None;
}

}  // namespace ib
