#include "fight/cpu_player.h"

#include <algorithm>
#include <limits>

#include "fight/buttons.h"
#include "fight/cpu_air.h"
#include "fight/cpu_reach.h"

namespace ib {

namespace {

// What a computer player is doing between two thoughts.
enum Plan : std::int32_t { Idle = 0, Approach, Retreat, Guard, Attack, JumpIn };

// A strike is watched for a little past its live time, then let go.
constexpr std::uint32_t kGuardTailMs = 40;
// A strike that misses by this much (a step or two of walking) is still
// guarded against.
constexpr int kGuardSlack = 20;
// Walking in stops this far inside the longest reach.
constexpr std::int32_t kApproachMargin = 12;

std::uint32_t bit(int code) { return 1u << code; }

bool due(std::uint32_t t, std::uint32_t at) { return static_cast<std::int32_t>(t - at) >= 0; }

// A time still to wait, from content that may hold any 32-bit numbers:
// not below 0 and not past the 32-bit range.
std::int32_t heldTime(std::int64_t ms)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(ms, 0, std::numeric_limits<std::int32_t>::max()));
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
    int player;
    ComputerMind& mind;
    Fighter& me;
    const Fighter& opp;
    const ComputerStyle& style;
    const MoveKnowledge& own;
    const MoveKnowledge& other;
    std::uint32_t t;

    int roll() { return fight.computerRandom.below(100); }

    // The move a lasting plan's buttons make; -1 for none.
    int planMove(std::int32_t plan) const
    {
        switch (plan) {
        case Approach: return own.walk;
        case Retreat: return own.back;
        case Guard: return own.block;
        default: return -1;
        }
    }

    void setPlan(std::int32_t plan, std::uint32_t until)
    {
        mind.plan = plan;
        mind.planUntil = until;
        const std::uint32_t want = planButtons(plan);
        // Buttons held through a hit make their move again only when
        // pressed anew, once the fighter is back in a lasting move.
        const int move = planMove(plan);
        const KnownMove* mine = own.find(me.currentMove);
        if (want != 0 && me.held.bits() == want && move >= 0 && mine && mine->loops &&
            me.currentMove != own.moves[static_cast<std::size_t>(move)].move)
            holdOnly(me, 0, t);
        holdOnly(me, want, t);
    }

    // The opponent's move: noticed once per start, blocked if it is a
    // strike that will reach, once the reaction time has passed. A guard
    // is kept while the opponent's strike is still coming or live, and
    // dropped the moment the opponent is open.
    bool guard()
    {
        const int index = other.indexOf(opp.currentMove);
        if (index != mind.watchedMove || opp.moveStart != mind.watchedStart) {
            mind.watchedMove = index;
            mind.watchedStart = opp.moveStart;
            mind.willBlock = roll() < style.blockPercent;
            // What the opponent starts is thought about once it is seen.
            const std::uint32_t seenAt = opp.moveStart + style.reactMs;
            if (static_cast<std::int32_t>(mind.nextThink - seenAt) > 0 && due(seenAt, t)) mind.nextThink = seenAt;
        }
        bool threat = false;
        if (index >= 0) {
            const KnownMove& om = other.moves[static_cast<std::size_t>(index)];
            const auto elapsed = static_cast<std::int32_t>(t - opp.moveStart);
            const bool seen = mind.willBlock && elapsed >= static_cast<std::int32_t>(style.reactMs);
            // The scan is made only when its answer changes what is done.
            threat = (seen || mind.plan == Guard) && om.strikes && elapsed < om.strikeEnd &&
                     wouldReach(om, opp, 3 - player, me, kGuardSlack);
            if (threat && seen) {
                setPlan(Guard, opp.moveStart + static_cast<std::uint32_t>(om.strikeEnd) + kGuardTailMs);
                return true;
            }
        }
        if (mind.plan == Guard) {
            if (!due(t, mind.planUntil) || threat) return true;
            setPlan(Idle, t);
            mind.nextThink = t;
        }
        return false;
    }

    // Whether the opponent's strike is coming or live and would reach.
    bool opponentStrikeComing() const
    {
        const KnownMove* om = other.find(opp.currentMove);
        return om && om->strikes && static_cast<std::int32_t>(t - opp.moveStart) < om->strikeEnd &&
               wouldReach(*om, opp, 3 - player, me, kGuardSlack);
    }

    // How long the opponent still needs before it can strike again; 0
    // when it can now.
    std::int32_t opponentBusyFor() const
    {
        const KnownMove* om = other.find(opp.currentMove);
        if (om == nullptr || om->loops) return 0;
        const auto elapsed = static_cast<std::int32_t>(t - opp.moveStart);
        if (om->strikes && elapsed < om->strikeEnd) return 0;  // its strike is live
        return heldTime(std::int64_t{om->duration} - elapsed);
    }

    // Whether the attack is one of the last `depth` it made.
    bool madeLately(int i, int depth) const
    {
        for (int d = 0; d < depth; ++d)
            if (own.sameAttack(i, mind.recentAttacks[d] - 1)) return true;
        return false;
    }

    void attack(int a)
    {
        mind.plan = Attack;
        mind.planUntil = t;
        mind.recentAttacks[1] = mind.recentAttacks[0];
        mind.recentAttacks[0] = a + 1;
        startMove(me, own.moves[static_cast<std::size_t>(a)], t);
    }

    // An attack in the air that would land from the top of a jump made
    // here, or -1.
    int airAttackFromHere()
    {
        if (own.jump < 0 || own.airAttacks.empty()) return -1;
        const int a = own.airAttacks[static_cast<std::size_t>(
            fight.computerRandom.below(static_cast<int>(own.airAttacks.size())))];
        return !madeLately(a, 1) && landsFromJumpTop(own, a, me, player, opp) ? a : -1;
    }

    // The attack to make now, or -1.
    int chooseAttack()
    {
        const std::int32_t busy = opponentBusyFor();
        const bool specialNow = roll() < style.specialPercent;
        // Not the last attack again, nor the one before when there are
        // three to vary.
        int kinds = 0;
        for (std::size_t k = 0; k < own.attacks.size(); ++k) {
            const int i = own.attacks[k];
            bool seen = own.moves[static_cast<std::size_t>(i)].special && !specialNow;
            for (std::size_t j = 0; j < k && !seen; ++j) seen = own.sameAttack(i, own.attacks[j]);
            kinds += !seen;
        }
        const int depth = std::clamp(kinds - 1, 0, 2);
        int best = -1, count = 0;
        double bestScore = -1;
        int candidates[32];
        for (int i : own.attacks) {
            const KnownMove& m = own.moves[static_cast<std::size_t>(i)];
            if ((m.special && !specialNow) || madeLately(i, depth)) continue;
            if (!wouldReach(m, me, player, opp, 0)) continue;
            // Damage for the time the move leaves its maker open; more
            // when it lands before the opponent can answer, or from
            // beyond the opponent's reach.
            double score = m.move->damage * 1000.0 / std::max(static_cast<double>(m.strikeStart) + 60.0, 1.0);
            if (!(score > 0.0)) score = 0.0;  // no damage, or damage that is not a number
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

    std::int32_t opponentReach() const { return farthestReach(other, false); }
    std::int32_t reach() const { return farthestReach(own, true); }
    bool anyAttackReaches(int slack) const
    {
        const KnownMove* longest = longestUsable(own);
        return longest && wouldReach(*longest, me, player, opp, slack);
    }

    bool opponentGuards() const
    {
        return other.block >= 0 && opp.currentMove == other.moves[static_cast<std::size_t>(other.block)].move;
    }

    // A misjudgment: a plain attack thrown whether it reaches or not, or a
    // step in that ignores the opponent's reach.
    void slip()
    {
        int plain[32], n = 0;
        for (int i : own.attacks)
            if (!own.moves[static_cast<std::size_t>(i)].special && n < 32) plain[n++] = i;
        if (n > 0 && roll() < 50) {
            const int a = plain[fight.computerRandom.below(n)];
            if (!madeLately(a, 2)) {
                attack(a);
                return;
            }
        }
        setPlan(own.walk >= 0 ? Approach : Idle, mind.nextThink);
    }

    void think()
    {
        mind.nextThink = t + style.reactMs / 2 + static_cast<std::uint32_t>(fight.computerRandom.below(
                                                     static_cast<int>(style.reactMs) + 1));
        const KnownMove* mine = own.find(me.currentMove);
        if (mine != nullptr && !mine->loops) {  // busy with a move of its own
            setPlan(Idle, t);
            mind.nextThink = t + style.reactMs / 4;
            return;
        }
        if (roll() < style.idlePercent) {
            setPlan(Idle, mind.nextThink);
            return;
        }
        if (roll() < style.slipPercent) {
            slip();
            return;
        }
        // A strike that is coming is guarded against or not walked into
        // (a strike thrown into it would be beaten by the faster fighter
        // every time).
        const bool strikeComing = opponentStrikeComing();
        if (strikeComing && roll() < style.guardPercent) {
            setPlan(Guard, mind.nextThink);
            return;
        }
        if (strikeComing) {
            setPlan(own.back >= 0 && style.spacing ? Retreat : Idle, mind.nextThink);
            return;
        }
        const bool punishing = opponentBusyFor() > 0;
        const bool inDanger = !punishing && gapTo(opp, me) <= std::int64_t{opponentReach()} + 8;
        // A guard is waited out rather than struck into.
        const bool waiting = opponentGuards() && roll() < style.waitPercent;
        const bool attacking = !waiting && roll() < (punishing ? style.punishPercent : style.attackPercent);
        if (inDanger && !attacking && roll() < style.guardPercent) {
            setPlan(Guard, mind.nextThink);
            return;
        }
        // Against longer arms it jumps in more often.
        const int airPercent = opponentReach() > reach() + 20 ? style.airPercent * 4 : style.airPercent;
        if (attacking && airPercent > 0 && !own.airAttacks.empty() && roll() < airPercent) {
            if (const int a = airAttackFromHere(); a >= 0) {
                jumpToStrike(mind, JumpIn, me, own, a, t);
                return;
            }
        }
        if (attacking) {
            if (const int a = chooseAttack(); a >= 0) {
                attack(a);
                return;
            }
        }
        const std::int64_t gap = gapTo(me, opp);
        const std::int32_t far = reach();
        if (own.walk >= 0 && !strikeComing && !anyAttackReaches(-kApproachMargin)) {
            setPlan(Approach, mind.nextThink);
        } else if (own.back >= 0 && (gap < far / 3 || (style.spacing && inDanger && far > opponentReach()))) {
            setPlan(Retreat, mind.nextThink);
        } else {
            setPlan(Idle, mind.nextThink);
        }
    }
};

}  // namespace

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
    if (mind.form == 0) mind.form = fight.computerRandom.below(100) < computerStyle(level).lapsePercent ? 2 : 1;
    ComputerStyle style = computerStyle(mind.form == 2 ? level - 1 : level);
    if (own.meanStrikeStart() > other.meanStrikeStart()) style = againstFasterStrikes(style, level);
    Thinker thinker{fight, player, mind, *me, *opp, style, own, other, t};
    if (mind.plan == JumpIn) {
        if (!due(t, mind.planUntil)) {
            if (strikeFromTheAir(mind, *me, player, *opp, own, t)) {
                mind.plan = Plan::Attack;
                mind.planUntil = t;
            }
            return;
        }
        mind.plan = Idle;
    }
    if (thinker.guard()) return;
    // Walking in stops as soon as the opponent is in reach or strikes.
    if (mind.plan == Approach &&
        (thinker.anyAttackReaches(-kApproachMargin) || thinker.opponentStrikeComing()))
        mind.nextThink = t;
    if (due(t, mind.nextThink)) thinker.think();
}

}  // namespace ib
