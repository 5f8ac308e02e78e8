// What this side of an online fight chooses, from the game: its fighter
// (the host's: and the stage), the look-ups the greeting checks the other
// side's choice with, the fight of the choice both agreed on, and the
// replay that fight is kept as.
#pragma once

#include <functional>
#include <optional>
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

// The fingerprint of a fighter's (or stage's) files from the game's
// roster, loading it if need be, and the fight of an agreed choice set up
// on the game (its quotes and what is known of the fighters the chosen
// ones'), for a spectator of a fight chosen online.
net::ContentLookUp onlineContentLookUp(Game& game);
std::function<FightState(const net::AgreedChoice&, FightRules&)> onlineFightMaker(Game& game);

// The header of the replay of an online fight: the fighters and stage
// fought with (`agreed`; none: rook v quill) as "--p1", "--p2" and
// "--stage", and the fingerprint of the content they need.
ReplayHeader onlineReplayHeader(const Game& game, const std::optional<net::AgreedChoice>& agreed);
inline ReplayHeader onlineReplayHeader(const Game& game, const net::NetPlay& play)
{
    return onlineReplayHeader(game, play.agreed());
}

}  // namespace ib
