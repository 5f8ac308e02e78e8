// The hit-stop, sparks, flashes, shake and combos of every fight but the
// quick one (two players at one keyboard, no match), whose rules stay as
// they always were.
#pragma once

#include <cstdint>

#include "fight/fight_state.h"
#include "fight/step_input.h"

namespace ib {

struct Level;

// How long an effect shows, on the effect clock.
constexpr std::uint32_t kSparkMs = 150;
constexpr std::uint32_t kShakeMs = 200;
// A combo's counter stays up this long after the victim recovers.
constexpr std::uint32_t kComboShownMs = 1000;
// Strikes at least this heavy shake the screen, as a knock-out does.
constexpr double kHeavyDamage = 12.0;
constexpr std::int32_t kFlashFrames = 2;

bool feelsHits(const FightState& fight);

// The hit-stop for a strike of `damage`: 10 ms a point and 10 more (60 ms
// for the default content's lightest strike, 130 and 170 ms for its
// specials), 150 ms more for a knock-out, half as long blocked.
std::uint32_t hitStopMs(double damage, bool blocked, bool knockOut);

// The fight's time plus the time it stood frozen: goes on through a freeze.
inline std::uint32_t effectClock(const FightState& fight) { return fight.currentTime + fight.feel.frozenTotal; }

// During a hit-stop a player's button is kept to be taken when it ends
// (and after it, until they are taken, so that they keep their order);
// true when `e` was kept.
bool keepDuringFreeze(FightState& fight, const StepEvent& e);

// Turns the platform's (or match's) clock into the fight's. True when the
// pass falls inside a hit-stop: nothing moves and the fight's clock
// stands still. In the first pass after it the buttons kept through it
// are taken first, at the time the fight froze.
bool freezePass(FightState& fight, const Level* level, std::uint32_t& clock);

// After the pass's hits: what each victim took (by fighter 1 and 2) starts
// the hit-stop, the spark, flash and shake, and counts the combos; a combo
// whose victim has recovered ends.
void afterFeltHits(FightState& fight, const HitTaken taken[2]);

// Once per drawn frame: the flashes count down.
void countFlashes(FightState& fight);

// Whether a combo's counter is shown now (two hits or more).
bool comboShown(const FightState& fight, int attacker);

}  // namespace ib
