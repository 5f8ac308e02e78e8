// The game online: the splash screen while the players meet, then a fight
// run by the rollback session on the machine's clock, with the line of the
// connection's figures in a corner, and its replay kept in the user's
// data folder.
#pragma once

#include <filesystem>

#include "app/online_options.h"

namespace ib {

struct Game;

// Where online fights are kept: "replays" in the player's data folder
// (platform/user_folders.h); empty when there is none.
std::filesystem::path onlineReplayFolder();

// Start-up and the online loop; returns the exit status.
int runOnlineGame(Game& game, const OnlineOptions& options);

}  // namespace ib
