// The controls players choose: for each player a key and a pad button for
// each action, the pad that player takes, and the sticks' dead zone. The
// defaults are the keyboard bindings table and the pad layout below.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "input/key_bindings.h"

namespace ib {

// Actions as players think of them; toward and away are left and right on
// the screen by the side the player starts on (player 1 on the left).
enum class Action : int { Toward, Away, Up, Down, Attack, Block };
constexpr int kActionCount = 6;
constexpr std::array<Action, kActionCount> kActions{Action::Toward, Action::Away, Action::Up,
                                                    Action::Down,   Action::Attack, Action::Block};

// "toward", "away", "up", "down", "attack", "block".
std::string_view actionName(Action a);
PlayerButton screenButton(int player, Action a);
Action actionOf(int player, PlayerButton b);

// The stick's default dead zone, out of 32767.
constexpr int kDefaultDeadZone = 8000;

struct Controls {
    // [player - 1][action]: a virtual-key code, a pad button code.
    std::array<std::array<int, kActionCount>, 2> keys{};
    std::array<std::array<int, kActionCount>, 2> padButtons{};
    // The GUID of the pad each player takes; empty: the first free pad.
    std::array<std::string, 2> padGuid;
    int deadZone = kDefaultDeadZone;
    friend bool operator==(const Controls&, const Controls&) = default;
};

Controls defaultControls();
// The keyboard part as a bindings table for mapKey and the key handlers.
std::vector<KeyBinding> keyTable(const Controls& controls);

// Who already has the key, other than (player, action): "player 2's
// attack", or empty when nobody does.
// The controls a fight's keys and pad buttons are read with, as one word a
// replay keeps: each player's keys, then pad buttons, then the dead zone,
// comma-separated. Pads' GUIDs are not in it: the machine has already
// given each pad its player when its messages are recorded.
std::string controlsCode(const Controls& controls);
// Reads a controlsCode back into controls; false (controls unchanged) when
// it is not one.
bool readControlsCode(std::string_view code, Controls& controls);

std::string keyOwner(const Controls& controls, int virtualKey, int player, Action action);
std::string padButtonOwner(const Controls& controls, int button, int player, Action action);

}  // namespace ib
