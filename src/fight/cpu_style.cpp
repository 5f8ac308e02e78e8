#include "fight/cpu_style.h"

#include <algorithm>
#include <array>

namespace ib {

namespace {

constexpr std::array<ComputerStyle, 5> kStyles{{
    // react block guard idle attack punish best special wait slip spacing
    {460, 5, 5, 38, 35, 10, 15, 0, 0, 10, false},
    {380, 30, 20, 23, 48, 40, 38, 0, 0, 8, false},
    {340, 40, 35, 16, 55, 65, 50, 15, 0, 2, false},
    {270, 55, 45, 10, 62, 80, 65, 30, 0, 2, true},
    {200, 60, 65, 5, 75, 90, 90, 70, 0, 25, true},
}};

}  // namespace

const ComputerStyle& computerStyle(int level)
{
    const int i = std::clamp(level, kMinComputerLevel, kMaxComputerLevel) - 1;
    return kStyles[static_cast<std::size_t>(i)];
}

}  // namespace ib
