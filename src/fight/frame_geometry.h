// Where a fighter's current frame lies on screen. Picture column c is drawn
// at x + (c - hotspotX) * facing and picture row r at y - hotspotY + r.
// Everything is worked out in 64 bits so that odd frame data cannot
// overflow; positions are stored back into the fighter's 32-bit fields.
#pragma once

#include <cstdint>

#include "fight/fighter.h"

namespace ib {

// Screen x of picture column `column` of the fighter's current frame.
inline std::int64_t screenColumn(const Fighter& f, std::int32_t column)
{
    return std::int64_t{f.x} +
           (std::int64_t{column} - f.frame->hotspotX) * std::int64_t{f.facing};
}

// The body's front and back edges on screen.
inline std::int64_t frontEdge(const Fighter& f) { return screenColumn(f, f.frame->frontColumn); }
inline std::int64_t backEdge(const Fighter& f) { return screenColumn(f, f.frame->backColumn); }

inline std::int64_t bodyWidth(const Fighter& f)
{
    return std::int64_t{f.frame->backColumn} - f.frame->frontColumn;
}

// Screen position of picture column 0 and row 0.
inline std::int64_t pictureLeft(const Fighter& f) { return screenColumn(f, 0); }
inline std::int64_t pictureTop(const Fighter& f)
{
    return std::int64_t{f.y} - f.frame->hotspotY;
}

// Positions wrap like the 32-bit fields they are stored in.
inline std::int32_t toPosition(std::int64_t v)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(v)));
}

}  // namespace ib
