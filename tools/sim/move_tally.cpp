#include "sim/move_tally.h"

namespace ib::sim {

void MoveTally::note(const FightState& fight)
{
    for (int p = 1; p <= 2; ++p) {
        const Fighter* f = fight.fighter(p);
        if (f == nullptr || f->currentMove == nullptr) continue;
        const Move* m = f->currentMove;
        if (m == last[p - 1] && f->moveStart == lastStart[p - 1]) continue;
        last[p - 1] = m;
        lastStart[p - 1] = f->moveStart;
        // A move made by two inputs (a special) counts as its animation.
        if (m->strikes) ++attacks[p - 1][m->animation ? m->animation->name : m->name];
    }
}

int MoveTally::total(int player) const
{
    int n = 0;
    for (const auto& [name, count] : attacks[player - 1]) n += count;
    return n;
}

int MoveTally::topShare(int player) const
{
    int top = 0;
    for (const auto& [name, count] : attacks[player - 1]) top = std::max(top, count);
    const int n = total(player);
    return n == 0 ? 0 : top * 100 / n;
}

std::string MoveTally::topName(int player) const
{
    std::string name;
    int top = 0;
    for (const auto& [n, count] : attacks[player - 1])
        if (count > top) top = count, name = n;
    return name;
}

}  // namespace ib::sim
