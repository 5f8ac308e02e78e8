// What one entry of controls.ini means, for the reader and the writer of
// the file alike: which binding it sets, to what, or why it cannot.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "content/ini_text.h"
#include "input/controls.h"

namespace ib::controls_file {

inline constexpr std::string_view kPlayerSections[2] = {"player1", "player2"};
inline constexpr std::string_view kPadsSection = "pads";
inline constexpr std::string_view kPadEntry = "pad";
inline constexpr std::string_view kDeadZoneEntry = "deadzone";

enum class Kind { Key, PadButton, PadGuid, DeadZone };

// An entry's meaning, or why it has none.
struct Meaning {
    Kind kind = Kind::Key;
    int player = 0;  // 1 or 2; 0 for [pads]
    Action action = Action::Toward;
    int value = 0;
    std::string guid;
    std::string problem;
};

// Nothing for an entry in a section that is not the controls' own.
std::optional<Meaning> meaningOf(const IniEntry& e);

// The text for a value, or empty when a name would not read back as it.
std::string valueText(Kind kind, const Controls& c, int player, Action a);

// The entry already says what the controls hold.
bool sameValue(const Meaning& m, const Controls& c);

}  // namespace ib::controls_file
