// How the players play: the controls (from the controls file, a replay or
// "--controls"), the key table made from them, the pads, and the screen
// that edits them.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/controls_screen.h"
#include "input/controls.h"
#include "input/key_bindings.h"
#include "input/pad_input.h"

namespace ib {

struct Controllers {
    // The controls file; empty: none is read or written.
    std::string configPath;
    Controls controls = defaultControls();
    // The controls came with a replay (or "--controls CODE"): the file is
    // neither read nor written, so a playback plays with the recorded ones.
    bool controlsFixed = false;
    std::vector<KeyBinding> keys = keyTable(controls);
    PadInputs pads;
    // Open over the splash screen while players choose their controls.
    std::unique_ptr<ControlsScreen> controlsScreen;
};

}  // namespace ib
