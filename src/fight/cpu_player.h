// The computer as a button source: it presses and releases its player's
// buttons as a person at the keyboard would, seeing only what a person sees
// (both fighters' places, facings, health, moves and frames) and knowing its
// own Character's moves. Its random numbers come from the fight's state, so
// the same fight and the same key messages make the same computer.
#pragma once

#include <cstdint>

#include "fight/fight_state.h"
#include "fight/move_knowledge.h"

namespace ib {

constexpr int kMinComputerLevel = 1;
constexpr int kMaxComputerLevel = 5;

// How a level plays: how long it takes to see a move (ms); how often (in
// percent) it blocks a strike it sees coming, guards while the opponent
// could reach it, idles, attacks when in reach, punishes an opponent that
// is still recovering, takes its best choice, and may make a move of
// several input steps (a special) when it chooses an attack; whether it
// keeps out of the opponent's reach. Whatever the level, it does not make
// the same attack three times in a row.
struct ComputerStyle {
    std::uint32_t reactMs;
    int blockPercent;
    int guardPercent;
    int idlePercent;
    int attackPercent;
    int punishPercent;
    int bestPercent;
    int specialPercent;
    bool spacing;
};

const ComputerStyle& computerStyle(int level);

// One pass of a computer player (1 or 2) of the given level at the fight's
// currentTime. `own` is what it knows of its Character, `other` of the
// opponent's (the moves it can watch being played).
void playComputer(FightState& fight, int player, int level, const MoveKnowledge& own,
                  const MoveKnowledge& other);

// Holds exactly the codes of `want` (releases first, then presses, each
// ascending); nothing happens when they are held already.
void holdOnly(Fighter& fighter, std::uint32_t wantBits, std::uint32_t t);

}  // namespace ib
