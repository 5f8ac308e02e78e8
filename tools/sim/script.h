// The headless runner's script: one event a line, "T down KEY", "T up KEY",
// "T minimize", "T restore", "T close", "T lose-surfaces", "T still-drawing N",
// and for pads "T pad-added N", "T pad-removed N", "T pad N down BUTTON",
// "T pad N up BUTTON", "T pad N axis AXIS VALUE" (SDL's controller names).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/headless_platform.h"

namespace ib::sim {

// The virtual-key code of a key name (A-Z, 0-9, LEFT, UP, RIGHT, DOWN,
// PERIOD, SLASH, ESCAPE, F1, F12, SPACE, ENTER in either case, or a decimal
// code 1-255).
std::optional<int> keyCode(std::string_view name);

struct ScriptResult {
    std::vector<ScriptEvent> events;
    // "line N: what is wrong" for the first malformed line, else empty.
    std::string error;
    // "line N: ..." for each event timed before an event above it: events
    // reach the game in file order, so such an event comes late.
    std::vector<std::string> warnings;
};

ScriptResult parseScript(std::string_view text);

}  // namespace ib::sim
