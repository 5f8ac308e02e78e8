#include "fight/frame_data.h"

#include <algorithm>

namespace ib {

namespace {

bool frameStrikes(const Frame& frame)
{
    const HitMask* mask = frame.image ? frame.image->mask : nullptr;
    return mask && std::any_of(mask->strike.begin(), mask->strike.end(), [](std::uint8_t v) { return v != 0; });
}

std::int32_t lengthOf(const Move* move)
{
    if (!move || !move->animation || move->animation->loops) return 0;
    return std::max(move->animation->totalDuration, 0);
}

}  // namespace

MoveTiming moveTiming(const Move& move)
{
    MoveTiming t;
    if (!move.animation) return t;
    std::int32_t time = 0, firstStrike = -1, strikeEnd = 0;
    for (const auto& frame : move.animation->frames) {
        const std::int32_t length = frame ? std::max(frame->duration, 0) : 0;
        if (frame && length > 0 && frameStrikes(*frame)) {
            if (firstStrike < 0) firstStrike = time;
            strikeEnd = time + length;
        }
        time += length;
    }
    if (firstStrike < 0) return t;
    t.strikes = true;
    t.startup = firstStrike;
    t.active = strikeEnd - firstStrike;
    t.recovery = time - strikeEnd;
    return t;
}

std::int32_t framesOf(std::int32_t ms)
{
    const std::int32_t sign = ms < 0 ? -1 : 1;
    return sign * ((sign * ms * 60 + 500) / 1000);
}

std::uint32_t freeAt(const Fighter& f)
{
    std::uint32_t end = f.moveStart + static_cast<std::uint32_t>(lengthOf(f.currentMove));
    if (f.pendingMove && f.pendingMove != f.character->defaultMove())
        end += static_cast<std::uint32_t>(lengthOf(f.pendingMove));
    return end;
}

}  // namespace ib
