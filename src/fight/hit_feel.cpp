#include "fight/hit_feel.h"

#include <algorithm>

#include "fight/frame_data.h"
#include "fight/hit_point.h"

namespace ib {

namespace {

bool inReaction(const Fighter& victim, const Combo& c)
{
    return victim.currentMove == c.reaction && victim.moveStart == c.reactionStart;
}

void countCombo(FightState& fight, int attacker, const HitTaken& taken)
{
    Combo& c = fight.feel.combo[attacker - 1];
    const Fighter& victim = *fight.fighter(3 - attacker);
    // A block breaks a combo.
    if (taken.blocked) {
        c = Combo{};
        return;
    }
    const bool going = c.count > 0 && !c.ended && taken.moveBefore == c.reaction && taken.startBefore == c.reactionStart;
    if (!going) c = Combo{};
    ++c.count;
    c.damage += taken.damage;
    c.reaction = victim.currentMove;
    c.reactionStart = victim.moveStart;
}

}  // namespace

bool feelsHits(const FightState& fight) { return fight.mode != PlayMode::TwoPlayers || fight.match.on; }

std::uint32_t hitStopMs(double damage, bool blocked, bool knockOut)
{
    double ms = damage * 10.0 + 10.0;
    if (!(ms >= 40.0)) ms = 40.0;  // a weak strike (or one that is not a number) still stops
    ms = std::min(ms, 250.0);
    if (blocked) ms /= 2.0;
    if (knockOut) ms += 150.0;
    return static_cast<std::uint32_t>(ms);
}

bool keepDuringFreeze(FightState& fight, const StepEvent& e)
{
    HitFeel& feel = fight.feel;
    // Buttons kept and not yet taken stay ahead of any that follow.
    if ((feel.freezeLeft == 0 && feel.frozenButtons.empty()) || e.kind == StepEvent::Kind::Command ||
        !feelsHits(fight))
        return false;
    const FrozenButton kept{e.player, static_cast<std::int32_t>(e.button), e.kind == StepEvent::Kind::Press,
                            e.onlyAfterTaken};
    // A player who presses again what is already kept pressed (one who
    // goes by the buttons the fighter holds, which stand still meanwhile)
    // adds nothing.
    for (auto it = feel.frozenButtons.rbegin(); it != feel.frozenButtons.rend(); ++it) {
        if (it->player != kept.player || it->button != kept.button) continue;
        if (it->down == kept.down) return true;
        break;
    }
    feel.frozenButtons.push_back(kept);
    return true;
}

bool freezePass(FightState& fight, const Level* level, std::uint32_t& clock)
{
    HitFeel& feel = fight.feel;
    clock -= feel.frozenTotal;
    if (feel.freezeLeft > 0) {
        const std::int32_t gone = static_cast<std::int32_t>(clock - fight.currentTime);
        const std::uint32_t elapsed = gone > 0 ? static_cast<std::uint32_t>(gone) : 0;
        if (elapsed <= feel.freezeLeft) {
            feel.freezeLeft -= elapsed;
            feel.frozenTotal += elapsed;
            clock = fight.currentTime;
            return true;
        }
        feel.frozenTotal += feel.freezeLeft;
        clock -= feel.freezeLeft;
        feel.freezeLeft = 0;
    }
    if (feel.frozenButtons.empty()) return false;
    StepInput kept;
    for (const FrozenButton& b : feel.frozenButtons) {
        StepEvent e;
        e.kind = b.down ? StepEvent::Kind::Press : StepEvent::Kind::Release;
        e.player = static_cast<std::uint8_t>(b.player);
        e.button = static_cast<PlayerButton>(b.button);
        e.onlyAfterTaken = b.onlyAfterTaken;
        kept.events.push_back(e);
    }
    feel.frozenButtons.clear();
    applyStepInput(fight, level, kept);
    return false;
}

void afterFeltHits(FightState& fight, const HitTaken taken[2])
{
    HitFeel& feel = fight.feel;
    Fighter* f1 = fight.fighter(1);
    Fighter* f2 = fight.fighter(2);
    if (!f1 || !f2) return;
    std::uint32_t stop = 0;
    for (int v = 1; v <= 2; ++v) {
        const HitTaken& t = taken[v - 1];
        if (!t.landed) continue;
        stop = std::max(stop, hitStopMs(t.damage, t.blocked, t.knockOut));
        if (!t.blocked) feel.flash[v - 1] = kFlashFrames;
        if (t.knockOut || (!t.blocked && t.damage >= kHeavyDamage)) {
            feel.shaking = true;
            feel.shakeAt = effectClock(fight);
        }
        feel.sparkAt = effectClock(fight);
        feel.sparkBlocked = t.blocked;
        feel.sparkBy = 3 - v;
        if (!findHitPixel(*f1, *f2, feel.sparkX, feel.sparkY)) feel.sparkX = feel.sparkY = -1;
        countCombo(fight, 3 - v, t);
        const Fighter& attacker = *fight.fighter(3 - v);
        feel.advantageOf = 3 - v;
        feel.advantage = static_cast<std::int32_t>(freeAt(*fight.fighter(v)) - freeAt(attacker));
    }
    feel.freezeLeft = std::max(feel.freezeLeft, stop);
    for (int a = 1; a <= 2; ++a) {
        if (const Move* m = fight.fighter(a)->currentMove; m && m->strikes) feel.lastAttack[a - 1] = m;
        Combo& c = feel.combo[a - 1];
        if (c.count > 0 && !c.ended && !inReaction(*fight.fighter(3 - a), c)) {
            c.ended = true;
            c.endedAt = fight.currentTime;
        }
    }
}

void countFlashes(FightState& fight)
{
    for (std::int32_t& f : fight.feel.flash)
        if (f > 0) --f;
}

bool comboShown(const FightState& fight, int attacker)
{
    const Combo& c = fight.feel.combo[attacker - 1];
    if (c.count < 2) return false;
    return !c.ended || static_cast<std::int32_t>(fight.currentTime - c.endedAt) < static_cast<std::int32_t>(kComboShownMs);
}

}  // namespace ib
