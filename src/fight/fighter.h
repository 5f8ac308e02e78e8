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

// A jump that goes on under another move: a move that cut into it in
// the air (an attack in the air, a knock-out) leaves the fighter on the
// jump's path, which its frames still give, until it lands.
struct Flight {
    const Move* move = nullptr;  // the jump; null: not flying
    std::uint32_t start = 0;     // its moveStart
    std::int32_t shown = -1;     // its last frame whose step was taken
    friend bool operator==(const Flight&, const Flight&) = default;
};

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
    // Outside the quick fight: whether it is off the ground (its input
    // snapshots then hold Air), and the jump it is still on.
    bool inAir = false;
    Flight flight;

    // Plays the animation on to time t; true when `frame` changed.
    bool advanceAnimation(std::uint32_t t);
    // Picks a move from the input history.
    void recognizeMove(std::uint32_t now);

    // Content is compared by address: both sides play the same content.
    friend bool operator==(const Fighter&, const Fighter&) = default;
};

// The y both fighters stand on.
std::int32_t groundOf(const Level& level);

// Move recognition.
bool stepMatches(const ButtonSet& step, const ButtonSet& snapshot);
int compareMoves(const Move& candidate, const Move& current);

void pushSnapshot(Fighter& fighter);

// A frame's step (its dx the way the fighter faces, and its dy).
void takeFrameStep(Fighter& fighter, const Frame& frame);

// The fight update of one pass.
// With `inFlight` (every fight but the quick one) a jump cut into in the
// air goes on under the move that cut into it (see fight/flight.h).
void moveFighters(Fighter& fighter1, Fighter& fighter2, const Level& level, std::uint32_t t,
                  bool inFlight = false);
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
