// Best-of-three matches of a scripted beginner (player 1) against the
// computer (player 2) at a level, without drawing.
#pragma once

#include <cstdint>

#include "app/game.h"
#include "beginners/beginner.h"
#include "sim/move_tally.h"

namespace ib::sim {

struct MatchOutcome {
    int roundsWon[2] = {0, 0};
    int winner = 0;  // 1 or 2; 0 for a draw or a match that did not end
    MoveTally tally;
};

// One match from fresh fighters with `seed` for the computer and the
// beginner, stepMs of game time a pass, until the match is over or maxMs
// of game time. The game must be set up (content loaded).
MatchOutcome playBeginnerMatch(Game& game, beginners::Style style, int level, std::uint32_t seed,
                               std::uint32_t stepMs, std::uint32_t maxMs);

// --beginner STYLE --level N --matches M: the matches, one line each and
// the rounds won.
int printBeginnerMatches(Game& game, beginners::Style style, int level, long long matches, std::uint32_t firstSeed,
                         std::uint32_t stepMs);

}  // namespace ib::sim
