// What this side of an online fight chooses, from the game: its fighter
// (the host's: and the stage), the look-ups the greeting checks the other
// side's choice with, the fight of the choice both agreed on, and the
// replay that fight is kept as.
#pragma once

#include <string>

#include "input/replay_file.h"
#include "net/net_play.h"

namespace ib {

struct Game;

// Puts this side's choice in `config` (`config.hosting` says whose it is):
// `fighter` (empty: rook for the host, quill for the one who joins) and,
// hosting, `stage` (empty: the desert). Empty when it can be fought, else
// what is wrong, with what there is to choose.
std::string chooseOnline(Game& game, net::NetPlayConfig& config, std::string fighter, std::string stage);

// The header of the replay of this online fight: the fighters and stage
// fought with as "--p1", "--p2" and "--stage", and the fingerprint of the
// content they need.
ReplayHeader onlineReplayHeader(const Game& game, const net::NetPlay& play);

}  // namespace ib
