// A fighter's construction and the playing of its current move's animation.
#include "fight/fighter.h"

#include <cstdint>

#include "fight/frame_geometry.h"

namespace ib {

namespace {

// The frame an animation shows `elapsed` ms in; none for a move without one.
const Frame* frameOf(const Move* move, std::int32_t elapsed)
{
    if (move == nullptr || move->animation == nullptr) return nullptr;
    return move->animation->frameAt(elapsed);
}

}  // namespace

Fighter::Fighter(const Character& character_, const Level& level, Side side)
    : character(&character_), currentMove(character_.defaultMove())
{
    // A quarter and three quarters of the level's width, counted from
    // screen column 0; the division truncates toward zero.
    const std::int64_t width = std::int64_t{level.rightBound} - level.leftBound;
    if (side == Side::Left) {
        facing = -1;
        x = toPosition(width / 4);
    } else {
        facing = +1;
        x = toPosition(3 * width / 4);
    }
    y = groundOf(level);
}

std::int32_t groundOf(const Level& level)
{
    // The ground line is the bottom of the play area.
    return toPosition(std::int64_t{level.layerY} + level.playHeight);
}

bool Fighter::advanceAnimation(std::uint32_t t)
{
    // Times wrap: the interval is the signed 32-bit difference.
    const auto elapsed = static_cast<std::int32_t>(t - moveStart);
    if (const Frame* f = frameOf(currentMove, elapsed)) {
        if (f == frame) return false;
        frame = f;
        return true;
    }

    // The move has played out: the pending move follows, then the default.
    const Move* defaultMove = character->defaultMove();
    currentMove = pendingMove != nullptr ? pendingMove : defaultMove;
    pendingMove = defaultMove;
    moveStart = t;
    lastHitRegion = 0;
    frame = frameOf(currentMove, 0);
    return true;
}

}  // namespace ib
