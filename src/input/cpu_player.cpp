#include "input/cpu_player.h"

#include <algorithm>
#include <array>
#include <bit>

#include "fight/buttons.h"
#include "fight/frame_geometry.h"

namespace ib {

namespace {

// What a computer player is doing between two thoughts.
enum Plan : std::int32_t { Idle = 0, Approach, Retreat, Guard, Attack };

constexpr std::array<ComputerStyle, 5> kStyles{{
    // react block guard idle attack punish best specials spacing
    {520, 10, 5, 45, 35, 10, 20, false, false},
    {400, 30, 15, 30, 50, 30, 45, false, false},
    {280, 50, 35, 12, 60, 70, 70, false, true},
    {170, 70, 45, 5, 70, 85, 85, true, true},
    {100, 85, 50, 0, 80, 100, 100, true, true},
}};

// A strike is watched for a little past its live time, then let go.
constexpr std::uint32_t kGuardTailMs = 40;

std::uint32_t bit(int code) { return 1u << code; }

bool due(std::uint32_t t, std::uint32_t at) { return static_cast<std::int32_t>(t - at) >= 0; }

// How far ahead of `from`'s position the front edge of `to`'s body lies.
std::int64_t gapTo(const Fighter& from, const Fighter& to)
{
    return (std::int64_t{from.x} - frontEdge(to)) * from.facing;
}

// The rows of the fighter's body, as heights above `ground` (the other
// fighter's ground line); false when its mask shows no body.
bool bodyHeights(const Fighter& f, std::int32_t ground, std::int32_t& low, std::int32_t& high)
{
    const Frame& frame = *f.frame;
    if (!frame.image || !frame.image->mask || !frame.image->mask->isPacked()) return false;
    const PlaneBox& box = frame.image->mask->packed.bodyBox;
    if (box.bottom <= box.top) return false;
    const std::int32_t lift = ground - f.y;
    high = frame.hotspotY - box.top + lift;
    low = frame.hotspotY - (box.bottom - 1) + lift;
    return true;
}

// Whether the move would meet the body of `target` from where `attacker`
// stands now.
bool wouldReach(const KnownMove& m, const Fighter& attacker, const Fighter& target, int slack)
{
    if (!attacker.frame || !target.frame) return false;
    const std::int64_t gap = gapTo(attacker, target);
    if (m.reachFar + slack < gap) return false;
    if (m.reachNear > gap + bodyWidth(target) + slack) return false;
    std::int32_t low = 0, high = 0;
    if (bodyHeights(target, attacker.y, low, high) && (m.strikeHigh < low || m.strikeLow > high))
        return false;
    return true;
}

void startMove(Fighter& me, const KnownMove& m, std::uint32_t t)
{
    holdOnly(me, 0, t);
    for (const KeyAction& k : m.keys) {
        if (k.press) pressButton(me, k.code, t);
        else releaseButton(me, k.code, t);
    }
    if (!m.loops) holdOnly(me, 0, t);
}

// The buttons a lasting plan holds.
std::uint32_t planButtons(std::int32_t plan)
{
    switch (plan) {
    case Approach: return bit(Forward);
    case Retreat: return bit(Back);
    case Guard: return bit(Block);
    default: return 0;
    }
}

struct Thinker {
    FightState& fight;
    ComputerMind& mind;
    Fighter& me;
    const Fighter& opp;
    const ComputerStyle& style;
    const MoveKnowledge& own;
    const MoveKnowledge& other;
    std::uint32_t t;

    int roll() { return fight.computerRandom.below(100); }

    void setPlan(std::int32_t plan, std::uint32_t until)
    {
        mind.plan = plan;
        mind.planUntil = until;
        holdOnly(me, planButtons(plan), t);
    }

    // The opponent's move: noticed once per start, blocked if it is a
    // strike that will reach, once the reaction time has passed.
    bool guard()
    {
        const int index = other.indexOf(opp.currentMove);
        if (index != mind.watchedMove || opp.moveStart != mind.watchedStart) {
            mind.watchedMove = index;
            mind.watchedStart = opp.moveStart;
            mind.willBlock = roll() < style.blockPercent;
        }
        if (index >= 0) {
            const KnownMove& om = other.moves[static_cast<std::size_t>(index)];
            const auto elapsed = static_cast<std::int32_t>(t - opp.moveStart);
            if (om.strikes && mind.willBlock && elapsed >= static_cast<std::int32_t>(style.reactMs) &&
                elapsed < om.strikeEnd && wouldReach(om, opp, me, 24)) {
                setPlan(Guard, opp.moveStart + static_cast<std::uint32_t>(om.strikeEnd) + kGuardTailMs);
                return true;
            }
        }
        if (mind.plan == Guard) {
            if (!due(t, mind.planUntil)) return true;
            setPlan(Idle, t);
        }
        return false;
    }

    // How long the opponent still needs before it can strike again; 0
    // when it can now.
    std::int32_t opponentBusyFor() const
    {
        const KnownMove* om = other.find(opp.currentMove);
        if (om == nullptr || om->loops) return 0;
        const auto elapsed = static_cast<std::int32_t>(t - opp.moveStart);
        if (om->strikes && elapsed < om->strikeEnd) return 0;  // its strike is live
        return std::max(om->duration - elapsed, 0);
    }

    // The attack to make now, or -1.
    int chooseAttack(bool punishing)
    {
        const std::int32_t busy = opponentBusyFor();
        int best = -1, count = 0;
        long bestScore = -1;
        int candidates[32];
        for (int i : own.attacks) {
            const KnownMove& m = own.moves[static_cast<std::size_t>(i)];
            if (m.special && !style.specials) continue;
            if (!wouldReach(m, me, opp, -4)) continue;
            if (punishing && m.strikeStart >= busy) continue;
            // Damage for the time the move leaves its maker open; more
            // when it lands before the opponent can answer, or from
            // beyond the opponent's reach.
            long score = static_cast<long>(m.move->damage * 1000.0) / std::max(m.strikeStart + 60, 1);
            if (busy > m.strikeStart) score *= 2;
            if (style.spacing && gapTo(me, opp) > opponentReach()) score *= 2;
            if (count < 32) candidates[count++] = i;
            if (score > bestScore) {
                bestScore = score;
                best = i;
            }
        }
        if (count == 0) return -1;
        if (roll() < style.bestPercent) return best;
        return candidates[fight.computerRandom.below(count)];
    }

    // How far ahead of the opponent its farthest strike reaches.
    std::int32_t opponentReach() const
    {
        std::int32_t far = 0;
        for (int i : other.attacks) far = std::max(far, other.moves[static_cast<std::size_t>(i)].reachFar);
        return far;
    }

    // The farthest any usable attack reaches.
    std::int32_t reach() const
    {
        std::int32_t far = 0;
        for (int i : own.attacks) {
            const KnownMove& m = own.moves[static_cast<std::size_t>(i)];
            if (!m.special || style.specials) far = std::max(far, m.reachFar);
        }
        return far;
    }

    void think()
    {
        mind.nextThink = t + style.reactMs / 2 + static_cast<std::uint32_t>(fight.computerRandom.below(
                                                     static_cast<int>(style.reactMs) + 1));
        const KnownMove* mine = own.find(me.currentMove);
        if (mine != nullptr && !mine->loops) {  // busy with a move of its own
            setPlan(Idle, t);
            return;
        }
        if (roll() < style.idlePercent) {
            setPlan(Idle, mind.nextThink);
            return;
        }
        const bool punishing = opponentBusyFor() > 0;
        const bool inDanger = !punishing && gapTo(opp, me) <= opponentReach() + 8;
        if (inDanger && roll() < style.guardPercent) {
            setPlan(Guard, mind.nextThink);
            return;
        }
        if (roll() < (punishing ? style.punishPercent : style.attackPercent)) {
            if (const int a = chooseAttack(punishing); a >= 0) {
                mind.plan = Attack;
                mind.planUntil = t;
                startMove(me, own.moves[static_cast<std::size_t>(a)], t);
                return;
            }
        }
        const std::int64_t gap = gapTo(me, opp);
        const std::int32_t far = reach();
        if (gap > far - 8 && own.walk >= 0) {
            setPlan(Approach, mind.nextThink);
        } else if (own.back >= 0 && (gap < far / 3 || (style.spacing && inDanger && far > opponentReach()))) {
            setPlan(Retreat, mind.nextThink);
        } else {
            setPlan(Idle, mind.nextThink);
        }
    }
};

}  // namespace

const ComputerStyle& computerStyle(int level)
{
    const int i = std::clamp(level, kMinComputerLevel, kMaxComputerLevel) - 1;
    return kStyles[static_cast<std::size_t>(i)];
}

void holdOnly(Fighter& fighter, std::uint32_t want, std::uint32_t t)
{
    const std::uint32_t held = fighter.held.bits();
    if (held == want) return;
    for (std::uint32_t b = held & ~want; b != 0; b &= b - 1) releaseButton(fighter, std::countr_zero(b), t);
    for (std::uint32_t b = want & ~held; b != 0; b &= b - 1) pressButton(fighter, std::countr_zero(b), t);
}

void playComputer(FightState& fight, int player, int level, const MoveKnowledge& own,
                  const MoveKnowledge& other)
{
    Fighter* me = fight.fighter(player);
    const Fighter* opp = fight.fighter(3 - player);
    if (me == nullptr || opp == nullptr || me->frame == nullptr || opp->frame == nullptr) return;
    ComputerMind& mind = fight.computer[player - 1];
    const std::uint32_t t = fight.currentTime;
    // A decided fight is over for the computer: it lets go of everything.
    if (fight.decisionTime != 0) {
        mind.plan = Idle;
        holdOnly(*me, 0, t);
        return;
    }
    Thinker thinker{fight, mind, *me, *opp, computerStyle(level), own, other, t};
    if (thinker.guard()) return;
    if (due(t, mind.nextThink)) thinker.think();
}

}  // namespace ib
