// An online fight as a replay of the game (docs/replays.md): the game is
// made active and taken off the splash screen by a key no player uses,
// then every step is one pass at its clock, preceded (when they changed)
// by both players' confirmed held buttons of that step as one record
// (WM_HELDBUTTONS), whatever keys either machine played with. Played back,
// it is the same fight, hash for hash.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <utility>
#include <vector>

#include "input/replay_file.h"
#include "net/step_bits.h"

namespace ib::net {

// `hashes` are (step, hash after it) pairs, ascending.
void writeOnlineReplay(std::ostream& out, const ReplayHeader& header, std::uint32_t startClock,
                       const std::vector<StepBitsPair>& inputs,
                       const std::vector<std::pair<std::int64_t, std::uint64_t>>& hashes);

}  // namespace ib::net
