// What the computer player measures before it moves: how far the other
// fighter's torso is, and whether a move's strike would land from here.
#pragma once

#include <cstdint>

#include "fight/fighter.h"
#include "fight/move_knowledge.h"

namespace ib {

// How far ahead of `from`'s position the front edge of `to`'s torso lies
// (the frame's front column: arms and legs come and go, the torso stays).
std::int64_t gapTo(const Fighter& from, const Fighter& to);

// Whether the move's strike would land on `target` as it stands now if
// `attacker` (player `attackerPlayer`) started the move `slack` pixels
// nearer: each strike frame is put where the move's steps take it and
// scanned against the target's frame, as the fight's hit test does.
bool wouldReach(const KnownMove& m, const Fighter& attacker, int attackerPlayer, const Fighter& target,
                int slack);

// How far ahead of its maker the farthest-reaching attack strikes; with
// `usableOnly`, of the attacks it may use (a special only when it has no
// other: a special is slow to make and seen coming).
std::int32_t farthestReach(const MoveKnowledge& k, bool usableOnly);
// The farthest-reaching attack it may use; null for none.
const KnownMove* longestUsable(const MoveKnowledge& k);

}  // namespace ib
