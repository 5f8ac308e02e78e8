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

MenuKey menuKeyOf(const Controls& controls, int key)
{
    if (key == VK_UP || isPlayers(controls.keys, key, Action::Up)) return MenuKey::Up;
    if (key == VK_DOWN || isPlayers(controls.keys, key, Action::Down)) return MenuKey::Down;
    if (key == VK_RETURN || isPlayers(controls.keys, key, Action::Attack)) return MenuKey::Choose;
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
