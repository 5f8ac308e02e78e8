// How each level of the computer plays: only what a player at the keys
// could feel (how quickly it reacts, how often it blocks, waits, punishes,
// slips up, and how it uses specials), never what the other player presses.
#pragma once

#include <cstdint>

namespace ib {

constexpr int kMinComputerLevel = 1;
constexpr int kMaxComputerLevel = 5;

// How a level plays: how long it takes to see a move (ms); how often (in
// percent) it blocks a strike it sees coming, guards while the opponent
// could reach it, idles, attacks when in reach, punishes an opponent that
// is still recovering, takes its best choice, and may make a move of
// several input steps (a special) when it chooses an attack; how often it
// holds off an opponent that is guarding (waiting for the guard to drop)
// and how often a thought is a slip (an attack thrown from too far, or a
// step into the opponent's reach) and how often it plays a round below
// its best, as the level below would; whether it keeps out of the
// opponent's reach; how often an attack it chooses is a jump with an
// attack in the air. Whatever the level, it does not make the same attack three times
// in a row.
struct ComputerStyle {
    std::uint32_t reactMs;
    int blockPercent;
    int guardPercent;
    int idlePercent;
    int attackPercent;
    int punishPercent;
    int bestPercent;
    int specialPercent;
    int waitPercent;
    int slipPercent;
    int lapsePercent;
    bool spacing;
    int airPercent;
};

const ComputerStyle& computerStyle(int level);
// A Character whose attacks are slower than the opponent's cannot trade
// blows: it guards and blocks more and punishes what it can, and at the top
// levels it reads strikes sooner, or the faster one's quick pokes would
// decide every fight.
ComputerStyle againstFasterStrikes(ComputerStyle style, int level);

}  // namespace ib
