// Whole fights played by the computer (or by a script against it) on a
// game's content, without drawing, as fast as the fight step runs.
#pragma once

#include <cstdint>
#include <functional>

#include "app/game.h"
#include "sim/move_tally.h"

namespace ib::sim {

struct FightOutcome {
    int winner = 0;            // 1 or 2; 0 when nobody was knocked out
    std::uint32_t endMs = 0;   // game time of the knock-out (or of the last pass)
    double health[2] = {0, 0};
    int hits[2] = {0, 0};      // strikes each player landed, blocked or not
    int blocks[2] = {0, 0};    // strikes each player blocked
    MoveTally tally;           // the attacks each player started
};

// Between two passes: presses and releases of a scripted player at the
// fight's currentTime.
using PassScript = std::function<void(FightState& fight)>;

// A fight in the given mode from fresh fighters, with the game's play
// options and `seed`, stepMs of game time a pass, until a knock-out or
// maxMs of game time. The game must be set up (content loaded).
FightOutcome playComputerFight(Game& game, PlayMode mode, std::uint32_t seed, std::uint32_t stepMs,
                               std::uint32_t maxMs, const PassScript& script = {});

// Seats quill as player 1 and rook as player 2 (and back), with what the
// computer knows of each; the next fight starts so.
void swapCharacters(Game& game);

}  // namespace ib::sim
