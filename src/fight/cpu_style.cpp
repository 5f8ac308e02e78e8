#include "fight/cpu_style.h"

#include <algorithm>
#include <array>

namespace ib {

namespace {

constexpr std::array<ComputerStyle, 5> kStyles{{
    // react block guard idle attack punish best special wait slip lapse spacing air
    {460, 15, 25, 48, 35, 10, 30, 0, 0, 0, 0, false, 0},
    {320, 50, 25, 5, 58, 40, 30, 5, 0, 8, 45, false, 5},
    {300, 50, 45, 5, 55, 65, 50, 25, 0, 17, 52, false, 5},
    {260, 55, 45, 5, 62, 70, 60, 30, 0, 2, 35, true, 5},
    {200, 55, 65, 5, 75, 95, 90, 75, 0, 25, 30, true, 5},
}};

}  // namespace

const ComputerStyle& computerStyle(int level)
{
    const int i = std::clamp(level, kMinComputerLevel, kMaxComputerLevel) - 1;
    return kStyles[static_cast<std::size_t>(i)];
}

ComputerStyle againstFasterStrikes(ComputerStyle style, int level)
{
    if (level >= 5) style.reactMs = style.reactMs * 11 / 20;
    else if (level == 4) style.reactMs = style.reactMs * 3 / 4;
    style.guardPercent = std::min(style.guardPercent + 30, 95);
    style.blockPercent = std::min(style.blockPercent + 30, 95);
    style.punishPercent = std::min(style.punishPercent + 20, 100);
    return style;
}

}  // namespace ib
