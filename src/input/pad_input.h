// Pads as a source of buttons. Each pad plays for one player (or none, a
// third pad); its D-pad and buttons give the player's actions as the
// controls say, its left stick the directions past the dead zone. Left and
// right held at once on one pad give neither, and so do up and down, until
// one of the two is let go.
#pragma once

#include <array>
#include <cstdint>
#include <map>

#include "input/controls.h"
#include "platform/input_names.h"

namespace ib {

struct StepInput;

struct PadInput {
    int player = 0;  // 0: the pad plays for nobody
    bool connected = false;
    std::array<bool, kPadButtonCount> buttons{};
    int stickX = 0;
    int stickY = 0;
    // The buttons this pad holds on its player's fighter, by PlayerButton.
    std::array<bool, 6> held{};
};

using PadInputs = std::map<int, PadInput>;  // by pad number

// Where pad events go: the controls in force, the step's record (null
// while no fight runs) and the players the pads play for (bit 0 player 1,
// bit 1 player 2; a computer plays the others). A pad whose player gets
// nothing keeps what it holds waiting: the first event that reaches a
// fight presses all of it.
struct PadTarget {
    const Controls& controls;
    StepInput* step;
    unsigned players;
};

// The player the pad now plays for: the one it played for before it was
// pulled out, else `wanted` (from the controls file), else the first
// player no connected pad plays for; 0 when both have one.
int padAdded(PadInputs& in, int pad, int wanted);
// Lets go of everything the pad held; the player it played for (or 0).
int padRemoved(PadInputs& in, const PadTarget& to, int pad);
void padButton(PadInputs& in, const PadTarget& to, int pad, int button, bool down);
void padAxis(PadInputs& in, const PadTarget& to, int pad, int axis, int value);

}  // namespace ib
