#include "fight/buttons.h"

#include <cstddef>

namespace ib {

namespace {

constexpr std::size_t kHistoryKeep = 10;

void trimHistory(Fighter& f)
{
    while (f.history.size() > kHistoryKeep) f.history.pop_back();
}

}  // namespace

int buttonCode(const Fighter& f, PlayerButton b)
{
    // Facing -1 looks to the right of the screen.
    switch (b) {
    case PlayerButton::Left: return f.facing < 0 ? Back : Forward;
    case PlayerButton::Right: return f.facing >= 0 ? Back : Forward;
    case PlayerButton::Up: return Up;
    case PlayerButton::Down: return Down;
    case PlayerButton::Attack: return Attack;
    case PlayerButton::Block: return Block;
    }
    return 0;
}

void pushSnapshot(Fighter& fighter)
{
    fighter.history.push_front(fighter.held);
    if (fighter.inAir) fighter.history.front().add(Air);
}

bool pressButton(Fighter& f, int code, std::uint32_t t)
{
    if (f.held.contains(code)) return false;
    f.held.add(code);
    pushSnapshot(f);
    trimHistory(f);
    f.recognizeMove(t);
    return true;
}

void releaseButton(Fighter& f, int code, std::uint32_t t)
{
    f.held.remove(code);
    pushSnapshot(f);
    trimHistory(f);
    f.recognizeMove(t);
}

}  // namespace ib
