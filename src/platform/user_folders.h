// Where the player's own files live, by the XDG Base Directory rule: the
// settings in the config folder (controls.ini, sound.ini, pad layouts), the
// fights kept in the data folder (online replays, desync reports).
#pragma once

#include <filesystem>

namespace ib {

// The rule for one kind of folder: `xdg` (the value of XDG_CONFIG_HOME or
// XDG_DATA_HOME) when it is an absolute path; a relative or empty one is
// ignored, as the XDG rule says. Else `home` joined with `underHome`
// (".config" or ".local/share") when home is set and not empty. Else
// empty, never the folder the game was started from: with no HOME and no
// absolute XDG variable the game plays on its default settings, saves no
// controls and keeps no online replay, and says so where it would have.
std::filesystem::path userFolderFrom(const char* xdg, const char* home, const char* underHome);

// $XDG_CONFIG_HOME/inkblot-fighter, else ~/.config/inkblot-fighter; empty
// when neither is known.
std::filesystem::path userConfigFolder();
// $XDG_DATA_HOME/inkblot-fighter, else ~/.local/share/inkblot-fighter;
// empty when neither is known.
std::filesystem::path userDataFolder();

}  // namespace ib
