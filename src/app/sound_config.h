// The player's sound volumes, from "sound.ini" in the player's config
// folder: entries "effects = N" and "music = N", N from 0 to 100, in any
// section, read as the controls file is (content/ini_text.h). Any other
// line that is not blank, a comment or a [section] is named on standard
// error and left out, and the game plays on.
#pragma once

#include <string>
#include <string_view>

namespace ib {

struct SoundVolumes {
    int effects = 80;
    int music = 60;
    bool operator==(const SoundVolumes&) const = default;
};

// sound.ini in the player's config folder (platform/user_folders.h); empty
// when there is none.
std::string soundConfigPath();

// The volumes a config file's text gives; `path` names it in messages.
SoundVolumes parseSoundConfig(std::string_view text, const std::string& path);
// The same from the file; a missing file gives the defaults silently, one
// that cannot be read gives them and says so.
SoundVolumes readSoundConfig(const std::string& path);

}  // namespace ib
