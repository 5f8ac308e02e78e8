#include "fight/cpu_air.h"

#include <algorithm>
#include <limits>

#include "fight/cpu_keys.h"
#include "fight/cpu_reach.h"

namespace ib {

bool landsFromJumpTop(const MoveKnowledge& own, int a, const Fighter& me, int player, const Fighter& opp)
{
    if (own.jump < 0 || a < 0 || static_cast<std::size_t>(a) >= own.moves.size()) return false;
    Fighter top = me;
    top.y -= own.moves[static_cast<std::size_t>(own.jump)].peak;
    return wouldReach(own.moves[static_cast<std::size_t>(a)], top, player, opp, 0);
}

void jumpToStrike(ComputerMind& mind, std::int32_t jumpPlan, Fighter& me, const MoveKnowledge& own, int a,
                  std::uint32_t t)
{
    const KnownMove& jump = own.moves[static_cast<std::size_t>(own.jump)];
    startMove(me, jump, t);
    mind.plan = jumpPlan;
    mind.planUntil = t + static_cast<std::uint32_t>(std::clamp<std::int64_t>(jump.duration, 0, std::numeric_limits<std::int32_t>::max()));
    mind.recentAttacks[1] = mind.recentAttacks[0];
    mind.recentAttacks[0] = a + 1;
}

bool strikeFromTheAir(const ComputerMind& mind, Fighter& me, int player, const Fighter& opp,
                      const MoveKnowledge& own, std::uint32_t t)
{
    const int a = mind.recentAttacks[0] - 1;
    if (a < 0 || static_cast<std::size_t>(a) >= own.moves.size() || !me.inAir) return false;
    const KnownMove& m = own.moves[static_cast<std::size_t>(a)];
    if (!m.air || !wouldReach(m, me, player, opp, 0)) return false;
    startMove(me, m, t);
    return true;
}

}  // namespace ib
