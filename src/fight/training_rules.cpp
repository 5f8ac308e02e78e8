#include "fight/training_rules.h"

#include "fight/frame_geometry.h"

namespace ib {

namespace {

// The first screen pixel, in the hit scan's order, where one fighter's
// strike meets the other's body; false when there is none.
bool findHitPixel(const Fighter& f1, const Fighter& f2, std::int32_t& x, std::int32_t& y)
{
    const Frame* a = f1.frame;
    const Frame* b = f2.frame;
    if (!a || !b || !a->image || !b->image || !a->image->mask || !b->image->mask) return false;
    const HitMask& m1 = *a->image->mask;
    const HitMask& m2 = *b->image->mask;
    const std::int64_t x1 = pictureLeft(f1), x2 = pictureLeft(f2);
    const std::int64_t d = x1 > x2 ? x1 - x2 : x2 - x1;
    const std::int64_t dy = pictureTop(f2) - pictureTop(f1);
    for (std::int64_t r = 0; r < a->image->height; ++r) {
        for (std::int64_t c = 0; c <= d && c < a->image->width; ++c) {
            const int r2 = static_cast<int>(r - dy), c2 = static_cast<int>(d - c);
            const int r1 = static_cast<int>(r), c1 = static_cast<int>(c);
            if ((m1.strikeAt(r1, c1) && m2.bodyAt(r2, c2)) || (m2.strikeAt(r2, c2) && m1.bodyAt(r1, c1))) {
                x = toPosition(screenColumn(f1, c1));
                y = toPosition(pictureTop(f1) + r);
                return true;
            }
        }
    }
    return false;
}

}  // namespace

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
