// A match's keys and pad buttons: P, Escape or a pad's Start pause; the
// pause and rematch menus are taken with the arrows or either player's
// up/down and Enter or attack (the D-pad and A or attack on a pad).
#pragma once

#include "fight/match_rules.h"

namespace ib {

struct Game;

constexpr int kKeyPause = 'P';
// How long a menu the game opens by itself (the rematch menu) takes no
// choice.
constexpr std::uint32_t kMenuGuardMs = 400;

// A key pressed in a match's fight; true when it was the menu's or the
// pause's (it then reaches no fighter).
bool matchKey(Game& game, int key);
// A pad's button pressed in a match's fight; true when it was taken.
bool matchPadButton(Game& game, int button);
// Does what a menu item says.
void chooseMenuItem(Game& game, MenuItem item);

}  // namespace ib
