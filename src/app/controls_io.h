// The game's controls file: read at start-up, written when players leave
// the controls screen.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace ib {

struct Game;

// Reads game.controllers.configPath (nothing when it is empty or the file does not
// exist); says on standard error what could not be read, naming the file
// and line, and keeps the defaults for it. Tells the platform which pad
// each player takes and where more pad layouts may be
// (gamecontrollerdb.txt beside the file).
void loadControls(Game& game);
// Writes game.controllers.controls into game.controllers.configPath; false (said on standard
// error) when it cannot.
bool saveControls(Game& game);
// Sets these `key = value` lines of the file's [play] section, every other
// byte of it kept (nothing when there is no file to write, or the controls
// came with a replay). A file that cannot be read or written is said with
// `what` ("the choices") and the game goes on with the choices.
void rememberPlayChoices(Game& game, const std::vector<std::pair<std::string, std::string>>& entries,
                         const char* what);

}  // namespace ib
