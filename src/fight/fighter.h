// A fighter: the run-time state of one player's Character during the fight.
#pragma once

#include <cstdint>
#include <deque>

#include "content/content.h"

namespace ib {

// Button codes held in ButtonSets and written as letters in Move files.
enum ButtonCode : int {
    Forward = 1,
    Back = 2,
    Up = 3,
    Down = 4,
    Block = 5,
    Attack = 6,
    Hit = 7,
    KnockOut = 8,
    CodeV = 9,
    Wildcard = 10,
};

// Snapshots of held buttons, newest first.
using InputHistory = std::deque<ButtonSet>;

// The first fighter made stands on the left facing right (-1), the second
// on the right facing left (+1).
enum class Side { Left, Right };

struct Fighter {
    Fighter(const Character& character, const Level& level, Side side);

    const Character* character;
    std::int32_t facing;
    std::int32_t lastHitRegion = 0;
    double health = 100.0;
    std::int32_t x;
    std::int32_t y;
    std::uint32_t moveStart = 0;
    ButtonSet held;
    Rect screenRect;
    const Move* currentMove;
    const Move* pendingMove = nullptr;
    InputHistory history;
    const Frame* frame = nullptr;

    // Plays the animation on to time t; true when `frame` changed.
    bool advanceAnimation(std::uint32_t t);
    // Picks a move from the input history.
    void recognizeMove(std::uint32_t now);
};

// Move recognition.
bool stepMatches(const ButtonSet& step, const ButtonSet& snapshot);
int compareMoves(const Move& candidate, const Move& current);

// Keyboard input: both players share one keyboard.
int mapKey(const Fighter& fighter1, const Fighter& fighter2, int player, int virtualKey);
void pushSnapshot(Fighter& fighter);
void handleKeyDown(Fighter& fighter1, Fighter& fighter2, int virtualKey, std::uint32_t currentTime);
void handleKeyUp(Fighter& fighter1, Fighter& fighter2, int virtualKey, std::uint32_t currentTime);

// The fight update of one pass.
void moveFighters(Fighter& fighter1, Fighter& fighter2, const Level& level, std::uint32_t t);
void keepInBounds(Fighter& a, const Fighter& b, const Level& level);
// Finds and applies hits; writes decisionTime on a knock-out.
void resolveHits(Fighter& fighter1, Fighter& fighter2, std::uint32_t currentTime,
                 std::uint32_t& decisionTime);

}  // namespace ib
