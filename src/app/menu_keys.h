// What a key or a pad button means in a menu: the arrows, the D-pad and
// either player's up and down move the choice; Enter, a pad's A and either
// player's attack take it. Each menu decides for itself what goes back.
#pragma once

#include <optional>

#include "input/controls.h"

namespace ib {

enum class MenuKey { None, Up, Down, Choose };

// Whose key it is, and for what, as the controls say (player 1's first).
struct PlayersAction {
    int player = 0;
    Action action = Action::Up;
};
std::optional<PlayersAction> playersKey(const Controls& controls, int key);

MenuKey menuKeyOf(const Controls& controls, int key);
MenuKey menuPadButtonOf(const Controls& controls, int button);

}  // namespace ib
