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
#include <optional>
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

// $XDG_CONFIG_HOME/inkblot-fighter/controls.ini, ~/.config/... when the
// variable is unset or not an absolute path; empty when neither is known.
std::filesystem::path defaultControlsPath();

// The file's bytes; nothing when it does not exist. A file that exists but
// cannot be read gives nothing and *error says why.
std::optional<std::string> readTextFile(const std::filesystem::path& path, std::string* error);
// Writes a temporary file beside path and renames it over path, so that a
// reader sees the old file or the new one, never half of one. Makes the
// folder when missing. Empty on success, else what went wrong.
std::string replaceFile(const std::filesystem::path& path, std::string_view text);

}  // namespace ib
