// One pass of the fight: the one step the game, inkblot-sim, the
// benchmarks, the fuzz targets and the soak all run.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <set>

#include "fight/fight_state.h"
#include "fight/sound_events.h"

namespace ib {

// The end screen follows this long after a knock-out.
constexpr std::uint32_t kEndDelayMs = 5000;

struct MoveKnowledge;

// What a fight pass reads and never changes.
struct FightRules {
    const Level* level = nullptr;
    std::size_t quoteCount = 0;  // quotes in the book
    // Moves that sound when they start although they cannot strike (they
    // have a sound file of their own); none: only striking moves sound.
    const std::set<const Move*>* voicedMoves = nullptr;
    // What the computer players know of player 1's and player 2's
    // Characters; needed only when the computer plays.
    const MoveKnowledge* knowledge[2] = {nullptr, nullptr};
};

// A frame of the fight drawn from the state as it stands mid-pass.
using ComposeFrame = std::function<void(const FightState&)>;

// One pass in the Fight state, in this order: (in the fight's first pass,
// when no seed was given, the computer's generator is seeded with `clock`)
// the computer players and
// the training dummy press their buttons; the fighters move on with
// currentTime as the previous pass left it; currentTime becomes `clock`;
// an old quote ends; `compose` (if any) draws the frame; strikes land at
// the new currentTime (in training nobody falls below 1 health, and health
// refills); a quote may start; 5 s after a knock-out the state becomes
// End. Nothing in it reads a clock or draws. The sounds of the pass are
// added to `sounds` (if given), in the order they happen.
void fightStep(FightState& fight, const FightRules& rules, std::uint32_t clock,
               const ComposeFrame& compose = {}, SoundEvents* sounds = nullptr);

}  // namespace ib
