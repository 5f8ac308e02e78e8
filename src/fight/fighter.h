// A fighter: the run-time state of one player's Character during the fight.
#pragma once

#include <cmath>
#include <cstdint>
#include <deque>
#include <vector>

#include "content/content.h"

namespace ib {

struct SoundEvent;

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
    const Move* currentMove;
    const Move* pendingMove = nullptr;
    InputHistory history;
    const Frame* frame = nullptr;

    // Plays the animation on to time t; true when `frame` changed.
    bool advanceAnimation(std::uint32_t t);
    // Picks a move from the input history.
    void recognizeMove(std::uint32_t now);

    // Content is compared by address: both sides play the same content.
    friend bool operator==(const Fighter&, const Fighter&) = default;
};

// Move recognition.
bool stepMatches(const ButtonSet& step, const ButtonSet& snapshot);
int compareMoves(const Move& candidate, const Move& current);

void pushSnapshot(Fighter& fighter);

// The fight update of one pass.
void moveFighters(Fighter& fighter1, Fighter& fighter2, const Level& level, std::uint32_t t);
void keepInBounds(Fighter& a, const Fighter& b, const Level& level);
// What a victim took in one pass, and the move it was playing before.
struct HitTaken {
    bool landed = false;
    bool blocked = false;
    bool knockOut = false;
    double damage = 0.0;
    const Move* moveBefore = nullptr;
    std::uint32_t startBefore = 0;
};

// Finds and applies hits; writes decisionTime on a knock-out. Each hit
// taken adds one sound (a hit, a block or a knock-out) to `sounds`. A hit
// never takes a fighter's health below minHealth (training keeps everyone
// on their feet); with the default nothing stops it. `taken` (if given)
// receives what fighters 1 and 2 took.
void resolveHits(Fighter& fighter1, Fighter& fighter2, std::uint32_t currentTime,
                 std::uint32_t& decisionTime, std::vector<SoundEvent>* sounds = nullptr,
                 double minHealth = -HUGE_VAL, HitTaken* taken = nullptr);

}  // namespace ib
