// Keyboard input: both players share one keyboard. Each key becomes one
// player's button; the held set and the input history follow every key
// event, and move recognition runs after each.
#include <cstddef>

#include "fight/fighter.h"

namespace ib {

namespace {

constexpr std::size_t kHistoryKeep = 10;

// Virtual-key codes of the players' keys.
constexpr int kKeyB = 66, kKeyC = 67, kKeyF = 70, kKeyV = 86, kKeyX = 88, kKeyZ = 90;
constexpr int kKeyLeft = 37, kKeyUp = 38, kKeyRight = 39, kKeyDown = 40;
constexpr int kKeyPeriod = 190, kKeySlash = 191;

int mapPlayer1(const Fighter& f, int key)
{
    switch (key) {
    case kKeyB: return f.facing >= 0 ? Back : Forward;
    case kKeyC: return f.facing < 0 ? Back : Forward;
    case kKeyF: return Up;
    case kKeyV: return Down;
    case kKeyX: return Attack;
    case kKeyZ: return Block;
    default: return 0;
    }
}

int mapPlayer2(const Fighter& f, int key)
{
    switch (key) {
    case kKeyLeft: return f.facing < 0 ? Back : Forward;
    case kKeyUp: return Up;
    case kKeyRight: return f.facing >= 0 ? Back : Forward;
    case kKeyDown: return Down;
    case kKeyPeriod: return Block;
    case kKeySlash: return Attack;
    default: return 0;
    }
}

void trimHistory(Fighter& f)
{
    while (f.history.size() > kHistoryKeep) f.history.pop_back();
}

// Returns false when the key-down only repeats a button already held.
bool pressButton(Fighter& f, int button, std::uint32_t currentTime)
{
    if (f.held.contains(button)) return false;
    f.held.add(button);
    pushSnapshot(f);
    trimHistory(f);
    f.recognizeMove(currentTime);
    return true;
}

void releaseButton(Fighter& f, int button, std::uint32_t currentTime)
{
    // A release of a button that is not held still records a snapshot.
    f.held.remove(button);
    pushSnapshot(f);
    trimHistory(f);
    f.recognizeMove(currentTime);
}

}  // namespace

int mapKey(const Fighter& fighter1, const Fighter& fighter2, int player, int virtualKey)
{
    if (player == 1) return mapPlayer1(fighter1, virtualKey);
    if (player == 2) return mapPlayer2(fighter2, virtualKey);
    return 0;
}

void pushSnapshot(Fighter& fighter) { fighter.history.push_front(fighter.held); }

void handleKeyDown(Fighter& fighter1, Fighter& fighter2, int virtualKey, std::uint32_t currentTime)
{
    if (int b = mapKey(fighter1, fighter2, 1, virtualKey); b != 0) {
        if (!pressButton(fighter1, b, currentTime)) return;
    }
    if (int b = mapKey(fighter1, fighter2, 2, virtualKey); b != 0) {
        pressButton(fighter2, b, currentTime);
    }
}

void handleKeyUp(Fighter& fighter1, Fighter& fighter2, int virtualKey, std::uint32_t currentTime)
{
    if (int b = mapKey(fighter1, fighter2, 1, virtualKey); b != 0) {
        releaseButton(fighter1, b, currentTime);
    }
    if (int b = mapKey(fighter1, fighter2, 2, virtualKey); b != 0) {
        releaseButton(fighter2, b, currentTime);
    }
}

}  // namespace ib
