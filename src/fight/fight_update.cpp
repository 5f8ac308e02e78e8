// One pass of the fight: frames move the fighters, the walls and the
// push-apart keep them in the level and apart, and strikes land.
#include <cstdint>

#include "fight/fighter.h"
#include "fight/flight.h"
#include "fight/frame_geometry.h"
#include "fight/hit_scan.h"
#include "fight/sound_events.h"

namespace ib {

namespace {

// A frame's displacement is a step, applied once when it becomes current.
void stepFighter(Fighter& f, std::uint32_t t)
{
    if (f.advanceAnimation(t) && f.frame != nullptr) takeFrameStep(f, *f.frame);
}

// Each fighter moves back by half the overlap of the front edges, rounded
// toward zero, so an overlap of 1 moves nobody.
void pushApart(Fighter& f1, Fighter& f2)
{
    if (f1.frame == nullptr || f2.frame == nullptr) return;
    const std::int64_t overlap = (frontEdge(f2) - frontEdge(f1)) * f1.facing;
    if (overlap <= 0) return;
    f1.x = toPosition(f1.x + (f1.facing * overlap) / 2);
    f2.x = toPosition(f2.x + (f2.facing * overlap) / 2);
}

PoseMask poseMask(const Frame& frame)
{
    return PoseMask{frame.image->width, frame.image->height, frame.image->mask};
}

// The victim's held buttons plus Hit or KnockOut, then the held buttons
// alone: a short press the victim's Character data reacts to. A hit on a
// fighter holding Block is blocked whatever its Character does about it.
void takeHit(Fighter& victim, std::int32_t victimNumber, const Fighter& attacker,
             std::uint32_t currentTime, std::uint32_t& decisionTime, SoundEvents* sounds,
             double minHealth, HitTaken* taken)
{
    ButtonSet snapshot = victim.held;
    const double damage = attacker.currentMove->damage;
    if (taken) *taken = {true, snapshot.contains(Block), false, damage, victim.currentMove, victim.moveStart};
    SoundEvent sound{SoundKind::Hit, victimNumber, blowVolume(damage)};
    if (snapshot.contains(Block)) {
        snapshot.add(Hit);
        sound.kind = SoundKind::Block;
    } else {
        victim.health -= damage;
        if (victim.health < minHealth) victim.health = minHealth;
        // Health that is not a number counts as run out too.
        if (!(victim.health > 0.0)) {
            snapshot.add(KnockOut);
            decisionTime = currentTime;
            if (taken) taken->knockOut = true;
            sound = {SoundKind::KnockOut, victimNumber, 100};
        } else {
            snapshot.add(Hit);
        }
    }
    if (sounds) sounds->push_back(sound);
    victim.history.push_front(snapshot);
    victim.recognizeMove(currentTime);
    pushSnapshot(victim);
    victim.recognizeMove(currentTime);
}

}  // namespace

void takeFrameStep(Fighter& f, const Frame& frame)
{
    f.x = toPosition(std::int64_t{f.x} + std::int64_t{frame.dx} * f.facing);
    f.y = toPosition(std::int64_t{f.y} + frame.dy);
}

void keepInBounds(Fighter& a, const Fighter& b, const Level& level)
{
    if (a.frame == nullptr) return;
    const Frame& f = *a.frame;
    const std::int64_t left = level.leftBound;
    const std::int64_t right = level.rightBound;
    // The other fighter must always fit between this one's front and the
    // wall it faces; a fighter without a frame takes no room.
    const std::int64_t otherWidth = b.frame != nullptr ? bodyWidth(b) : 0;

    if (a.facing == 1) {
        if (backEdge(a) >= right) a.x = toPosition(right - f.backColumn + f.hotspotX);
        if (frontEdge(a) <= left + otherWidth) {
            a.x = toPosition(left + otherWidth - f.frontColumn + f.hotspotX);
        }
    } else {
        if (backEdge(a) <= left) a.x = toPosition(left - f.hotspotX + f.backColumn);
        if (frontEdge(a) >= right - otherWidth) {
            a.x = toPosition(right - otherWidth + f.frontColumn - f.hotspotX);
        }
    }
}

void moveFighters(Fighter& fighter1, Fighter& fighter2, const Level& level, std::uint32_t t, bool inFlight)
{
    if (inFlight) {
        const std::int32_t ground = groundOf(level);
        flyStep(fighter1, t, ground);
        flyStep(fighter2, t, ground);
    } else {
        stepFighter(fighter1, t);
        stepFighter(fighter2, t);
    }
    keepInBounds(fighter1, fighter2, level);
    keepInBounds(fighter2, fighter1, level);
    pushApart(fighter1, fighter2);
}

void resolveHits(Fighter& fighter1, Fighter& fighter2, std::uint32_t currentTime,
                 std::uint32_t& decisionTime, SoundEvents* sounds, double minHealth, HitTaken* taken)
{
    const Frame* f1 = fighter1.frame;
    const Frame* f2 = fighter2.frame;
    if (f1 == nullptr || f2 == nullptr || f1->image == nullptr || f2->image == nullptr) return;

    // Hits are tested only once the pictures' column 0 edges have met.
    const std::int64_t x1 = pictureLeft(fighter1);
    const std::int64_t x2 = pictureLeft(fighter2);
    if (fighter1.facing * x1 > fighter1.facing * x2) return;

    const std::int64_t d = x1 > x2 ? x1 - x2 : x2 - x1;
    const std::int64_t dy = pictureTop(fighter2) - pictureTop(fighter1);
    const Strikes strikes = findStrikesPacked(poseMask(*f1), poseMask(*f2), d, dy,
                                              fighter1.lastHitRegion, fighter2.lastHitRegion);
    if (strikes.byFighter1 != 0) fighter1.lastHitRegion = strikes.byFighter1;
    if (strikes.byFighter2 != 0) fighter2.lastHitRegion = strikes.byFighter2;

    // Fighter 1 reacts first; fighter 2 then takes the damage of whatever
    // move fighter 1 is playing after that reaction.
    if (strikes.byFighter2 != 0) takeHit(fighter1, 1, fighter2, currentTime, decisionTime, sounds, minHealth,
                                         taken ? &taken[0] : nullptr);
    if (strikes.byFighter1 != 0) takeHit(fighter2, 2, fighter1, currentTime, decisionTime, sounds, minHealth,
                                         taken ? &taken[1] : nullptr);
}

}  // namespace ib
