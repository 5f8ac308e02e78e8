// The keyboard as a source of buttons: both players share one keyboard.
// One table says which key is which player's button; the keyboard handler,
// inkblot-sim's scripts, the soak and the fuzz targets all read it.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "fight/buttons.h"
#include "fight/step_input.h"

namespace ib {

struct KeyBinding {
    int virtualKey;
    int player;  // 1 or 2
    PlayerButton button;
};

// Player 1: B, C, F, V, X, Z; player 2: the arrows, slash and period.
std::span<const KeyBinding> keyBindings();

// The button code the key gives the player's fighter; 0 for none. Without
// a table, the default one.
int mapKey(std::span<const KeyBinding> table, const Fighter& fighter1, const Fighter& fighter2,
           int player, int virtualKey);
int mapKey(const Fighter& fighter1, const Fighter& fighter2, int player, int virtualKey);

// Bits of `players` saying whose keys the keyboard gives: bit 0 player 1,
// bit 1 player 2 (the computer plays the others).
constexpr unsigned kBothPlayers = 3;

// A key event as the players' presses or releases in the step's record:
// player 1's binding first, then player 2's (a key-down that player 1
// already holds goes no further).
void keyToStep(std::span<const KeyBinding> table, StepInput& out, int virtualKey, bool down,
               unsigned players = kBothPlayers);

// Key names as scripts write them: a letter, a digit, LEFT, UP, RIGHT,
// DOWN, PERIOD, SLASH, ESCAPE, F1 to F12, SPACE, ENTER (any case), or a
// decimal key code from 1 to 255.
std::optional<int> keyFromName(std::string_view name);
// The name a script would use for the key ("X", "LEFT", or its code).
std::string keyName(int virtualKey);

}  // namespace ib
