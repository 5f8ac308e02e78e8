// controls.ini: the controls players chose, as a file they may also edit.
//
//   [player1]
//   attack = X            ; key names as SDL names key positions
//   pad-attack = a        ; SDL's game controller button names
//   pad = 030000005e0400008e02000014010000   ; the pad this player takes
//   [pads]
//   deadzone = 8000       ; of the left stick, out of 32767
//
// Reading never fails: what cannot be read is named with its line and the
// default is kept. Writing changes only the values that changed and adds
// the entries that are missing; every other byte of the file stays.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "input/controls.h"

namespace ib {

struct ControlsProblem {
    int line = 0;
    std::string what;
};

struct ReadControls {
    Controls controls;
    std::vector<ControlsProblem> problems;
};

ReadControls readControls(std::string_view text);
// text with the entries of controls written into it.
std::string writeControls(std::string_view text, const Controls& controls);

// controls.ini in the player's config folder (platform/user_folders.h);
// empty when there is none.
std::filesystem::path defaultControlsPath();

}  // namespace ib
