#include "fight/cpu_reach.h"

#include <algorithm>

#include "fight/frame_geometry.h"
#include "fight/hit_scan.h"

namespace ib {

std::int64_t gapTo(const Fighter& from, const Fighter& to)
{
    return (std::int64_t{from.x} - frontEdge(to)) * from.facing;
}

bool wouldReach(const KnownMove& m, const Fighter& attacker, int attackerPlayer, const Fighter& target,
                int slack)
{
    if (!target.frame || !target.frame->image) return false;
    const Frame& tf = *target.frame;
    const PoseMask theirs{tf.image->width, tf.image->height, tf.image->mask};
    const std::int64_t targetLeft = pictureLeft(target);
    const std::int64_t targetTop = pictureTop(target);
    for (const StrikeFrame& s : m.strikeFrames) {
        const Frame& f = *s.frame;
        if (!f.image) continue;
        const std::int64_t x = std::int64_t{attacker.x} - (std::int64_t{s.forward} + slack) * attacker.facing;
        const std::int64_t left = x - std::int64_t{f.hotspotX} * attacker.facing;
        const std::int64_t top = std::int64_t{attacker.y} - s.rise - f.hotspotY;
        const PoseMask mine{f.image->width, f.image->height, f.image->mask};
        const bool first = attackerPlayer == 1;
        const std::int64_t x1 = first ? left : targetLeft, x2 = first ? targetLeft : left;
        const std::int64_t facing1 = first ? attacker.facing : target.facing;
        if (facing1 * x1 > facing1 * x2) continue;  // the pictures have not met
        const std::int64_t d = x1 > x2 ? x1 - x2 : x2 - x1;
        const std::int64_t dy = first ? targetTop - top : top - targetTop;
        const Strikes st = first ? findStrikesPacked(mine, theirs, d, dy, 0, 0)
                                 : findStrikesPacked(theirs, mine, d, dy, 0, 0);
        if ((first ? st.byFighter1 : st.byFighter2) != 0) return true;
    }
    return false;
}

namespace {

bool usable(const MoveKnowledge& k, const KnownMove& m) { return !m.special || !k.hasPlainAttack(); }

}  // namespace

std::int32_t farthestReach(const MoveKnowledge& k, bool usableOnly)
{
    std::int32_t far = 0;
    for (int i : k.attacks) {
        const KnownMove& m = k.moves[static_cast<std::size_t>(i)];
        if (!usableOnly || usable(k, m)) far = std::max(far, m.reachFar);
    }
    return far;
}

const KnownMove* longestUsable(const MoveKnowledge& k)
{
    const KnownMove* longest = nullptr;
    for (int i : k.attacks) {
        const KnownMove& m = k.moves[static_cast<std::size_t>(i)];
        if (usable(k, m) && (!longest || m.reachFar > longest->reachFar)) longest = &m;
    }
    return longest;
}

}  // namespace ib
