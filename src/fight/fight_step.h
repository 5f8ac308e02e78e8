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
    // The game on one machine: an old quote ends only in a pass whose frame
    // reached the quote, so a frame dropped before it (a lost display)
    // shows the quote one pass longer. Off (online, where both machines
    // must agree whatever either draws, and wherever nothing is drawn):
    // the quote ends by the clock alone, in the first pass more than
    // kQuoteShowMs after its start.
    bool quoteEndsWhenDrawn = false;
};

// A frame of the fight drawn from the state as it stands mid-pass; true
// when the drawing got as far as the quote (a frame dropped before it
// answers false).
using ComposeFrame = std::function<bool(const FightState&)>;

// One pass in the Fight state, in this order: (in the fight's first pass,
// when no seed was given, the computer's generator is seeded with `clock`)
// the computer players and
// the training dummy press their buttons; the fighters move on with
// currentTime as the previous pass left it; currentTime becomes `clock`;
// `compose` (if any) draws the frame, then an old quote ends (see
// FightRules::quoteEndsWhenDrawn); strikes land at
// the new currentTime (in training nobody falls below 1 health, and health
// refills); a quote may start; 5 s after a knock-out the state becomes
// End. In a match the platform's clock is first taken as the fight's
// (the time spent paused is left out; a paused pass only draws), and a
// knock-out or the timer ends the round, the next round starting 5 s later
// (see match_rules.h). Nothing in it reads a clock or draws. The sounds of the pass are
// added to `sounds` (if given), in the order they happen.
void fightStep(FightState& fight, const FightRules& rules, std::uint32_t clock,
               const ComposeFrame& compose = {}, SoundEvents* sounds = nullptr);

}  // namespace ib
