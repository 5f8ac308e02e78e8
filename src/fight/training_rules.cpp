#include "fight/training_rules.h"

#include "fight/hit_point.h"

namespace ib {

void afterTrainingHits(FightState& fight, std::size_t history1Before, std::size_t history2Before)
{
    Fighter* f1 = fight.fighter(1);
    Fighter* f2 = fight.fighter(2);
    if (!f1 || !f2) return;
    TrainingState& tr = fight.training;
    const std::uint32_t t = fight.currentTime;
    if (f1->history.size() > history1Before || f2->history.size() > history2Before) {
        tr.lastHitTime = t;
        tr.refillDue = true;
        if (!findHitPixel(*f1, *f2, tr.hitX, tr.hitY)) tr.hitX = tr.hitY = -1;
    } else if (tr.refillDue && t - tr.lastHitTime >= kRefillDelayMs) {
        f1->health = 100.0;
        f2->health = 100.0;
        tr.refillDue = false;
    }
}

void resetFighters(FightState& fight, const Level& level)
{
    if (!fight.fighter1 || !fight.fighter2) return;
    const Character& c1 = *fight.fighter1->character;
    const Character& c2 = *fight.fighter2->character;
    fight.fighter1.emplace(c1, level, Side::Left);
    fight.fighter2.emplace(c2, level, Side::Right);
    fight.fighter1->moveStart = fight.currentTime;
    fight.fighter2->moveStart = fight.currentTime;
    fight.training.refillDue = false;
    fight.training.hitX = fight.training.hitY = -1;
    fight.training.playStart = fight.currentTime;
    fight.training.playNext = 0;
}

}  // namespace ib
