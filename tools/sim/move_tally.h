// Which attacks each player starts over a fight or a match, counted as the
// passes go by: the variety of the computer's play.
#pragma once

#include <map>
#include <string>

#include "fight/fight_state.h"

namespace ib::sim {

struct MoveTally {
    std::map<std::string, int> attacks[2];  // by the move's name, players 1 and 2
    const Move* last[2] = {nullptr, nullptr};
    std::uint32_t lastStart[2] = {0, 0};

    // After a pass: a striking move that started since the last is counted.
    void note(const FightState& fight);
    int total(int player) const;
    // The share (percent) of the player's most used attack; 0 for none.
    int topShare(int player) const;
    std::string topName(int player) const;
};

}  // namespace ib::sim
