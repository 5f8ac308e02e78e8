#include "fight/flight.h"


namespace ib {

namespace {

// The frame's place in the animation; -1 for none.
std::int32_t indexOf(const Animation& a, const Frame* f)
{
    for (std::size_t i = 0; f != nullptr && i < a.frames.size(); ++i)
        if (a.frames[i].get() == f) return static_cast<std::int32_t>(i);
    return -1;
}

// The jump's path goes on; true when it has just come to its end.
bool carry(Fighter& f, std::uint32_t t)
{
    Flight& flight = f.flight;
    if (flight.move == nullptr || flight.move->animation == nullptr) return false;
    const Animation& a = *flight.move->animation;
    const std::int32_t index = indexOf(a, a.frameAt(static_cast<std::int32_t>(t - flight.start)));
    if (index < 0) {
        flight = Flight{};
        return true;
    }
    if (index != flight.shown) {
        takeFrameStep(f, *a.frames[static_cast<std::size_t>(index)]);
        flight.shown = index;
    }
    return false;
}

}  // namespace

bool liftsFighter(const Move& move)
{
    const Animation* a = move.animation.get();
    if (a == nullptr || a->loops != 0) return false;
    for (const auto& frame : a->frames)
        if (frame && frame->dy != 0) return true;
    return false;
}

bool madeInAir(const Move* move)
{
    if (move == nullptr) return false;
    for (const ButtonSet& step : move->steps)
        if (step.contains(Air)) return true;
    return false;
}

void takeOff(Fighter& f)
{
    if (!f.inAir || f.flight.move != nullptr || f.currentMove == nullptr || !liftsFighter(*f.currentMove)) return;
    f.flight = Flight{f.currentMove, f.moveStart, indexOf(*f.currentMove->animation, f.frame)};
}

void flyStep(Fighter& f, std::uint32_t t, std::int32_t ground)
{
    const Move* defaultMove = f.character->defaultMove();
    // Landing ends a move made in the air, and one waiting to be made.
    if (carry(f, t) && madeInAir(f.currentMove)) {
        f.currentMove = f.pendingMove != nullptr && !madeInAir(f.pendingMove) ? f.pendingMove : defaultMove;
        f.pendingMove = defaultMove;
        f.moveStart = t;
        f.lastHitRegion = 0;
        f.frame = nullptr;  // shown anew below, with its step
    }
    const Move* before = f.currentMove;
    const std::uint32_t startBefore = f.moveStart;
    const bool nothingWaiting = f.pendingMove == nullptr || f.pendingMove == defaultMove;
    if (f.advanceAnimation(t) && f.frame != nullptr) {
        const bool ended = f.currentMove != before || f.moveStart != startBefore;
        if (ended && nothingWaiting && f.flight.move != nullptr && f.flight.shown >= 0) {
            // Back to the jump where its path has got to; its steps so far
            // are taken already.
            f.currentMove = f.flight.move;
            f.moveStart = f.flight.start;
            f.frame = f.flight.move->animation->frames[static_cast<std::size_t>(f.flight.shown)].get();
            f.flight = Flight{};
        } else {
            takeFrameStep(f, *f.frame);
        }
    }
    f.inAir = f.y != ground;
}

}  // namespace ib
