// One pass of the fight: the one step the game, inkblot-sim, the
// benchmarks, the fuzz targets and the soak all run.
#pragma once

#include <cstddef>
#include <cstdint>
#include <set>

#include "fight/fight_state.h"
#include "fight/sound_events.h"
#include "fight/step_input.h"

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
    // The game on one machine: an old quote ends only in a pass whose frame
    // reached the quote, so a frame dropped before it (a lost display)
    // shows the quote one pass longer. Off (online, where both machines
    // must agree whatever either draws, and wherever nothing is drawn):
    // the quote ends by the clock alone, in the first pass more than
    // kQuoteShowMs after its start.
    bool quoteEndsWhenDrawn = false;
};

// Where a pass stands at its frame: the caller draws the fight as it is
// then (a const view), and finishes the pass with what the drawing did.
struct StepMark {
    bool paused = false;  // a paused match: the pass only draws
    bool frozen = false;  // a hit-stop: the fight stands still
};

// One pass in the Fight state, in this order: `input` is applied (the
// players' presses and releases and training's commands, at the time the
// previous pass left); in a match the platform's clock is taken as the
// fight's (the time spent paused is left out; a paused pass only draws);
// (in the fight's first pass, when no seed was given, the computer's
// generator is seeded with `clock`) the computer players and the training
// dummy press their buttons; the fighters move on with currentTime as the
// previous pass left it; currentTime becomes `clock`; here the frame is
// drawn; an old quote ends (see FightRules::quoteEndsWhenDrawn); strikes
// land at the new currentTime (in training nobody falls below 1 health,
// and health refills); a quote may start; 5 s after a knock-out the state
// becomes End, and in a match a knock-out or the timer ends the round, the
// next round starting 5 s later (see match_rules.h). Nothing in it reads a
// clock or draws. The sounds of the pass are added to `sounds` (if given),
// in the order they happen.
void fightStep(FightState& fight, const FightRules& rules, std::uint32_t clock, const StepInput& input = {},
               SoundEvents* sounds = nullptr);

// The same pass in two halves, for a caller that draws its frame: the pass
// up to the frame, then the rest, told whether the frame got as far as the
// quote (a frame dropped before it did not).
StepMark beginFightStep(FightState& fight, const FightRules& rules, std::uint32_t clock, const StepInput& input,
                        SoundEvents* sounds);
void finishFightStep(FightState& fight, const FightRules& rules, StepMark mark, bool quoteReached,
                     SoundEvents* sounds);

}  // namespace ib
