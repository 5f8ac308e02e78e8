// The game's controls file: read at start-up, written when players leave
// the controls screen.
#pragma once

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

}  // namespace ib
