// The player's sound volumes, from "sound.ini" in the game's config folder:
// lines "effects=N" and "music=N", N from 0 to 100. Blank lines, comments
// (# or ;) and [section] lines are passed over; any other line is named on
// standard error and left out, and the game plays on.
#pragma once

#include <string>
#include <string_view>

namespace ib {

struct SoundVolumes {
    int effects = 80;
    int music = 60;
    bool operator==(const SoundVolumes&) const = default;
};

// $XDG_CONFIG_HOME/inkblot-fighter/sound.ini, or ~/.config/... when
// XDG_CONFIG_HOME is unset or empty; empty when HOME is unset too.
std::string soundConfigPath();

// The volumes a config file's text gives; `path` names it in messages.
SoundVolumes parseSoundConfig(std::string_view text, const std::string& path);
// The same from the file; a missing file gives the defaults silently.
SoundVolumes readSoundConfig(const std::string& path);

}  // namespace ib
