// What a player learns of a Character by watching and trying its moves,
// worked out once from the Character's own files: which moves strike (their
// frames' masks hold strike values), how far and how high they reach, when
// the strike is live and how long the move takes, which presses and
// releases make each move, and which moves walk, step back and block.
#pragma once

#include <cstdint>
#include <vector>

#include "content/content.h"

namespace ib {

// One button event of a key plan: a press or a release of a button code.
// A release of a code that is not held repeats the held set in the history.
struct KeyAction {
    std::int32_t code = 0;
    bool press = false;
};

// A frame of a move whose mask strikes, and where the fighter stands when it
// shows: how far forward and up the frames before it (and it) have stepped.
struct StrikeFrame {
    const Frame* frame = nullptr;
    std::int32_t forward = 0;
    std::int32_t rise = 0;
};

struct KnownMove {
    const Move* move = nullptr;
    bool loops = false;
    std::int32_t duration = 0;  // one play of the animation, ms
    bool strikes = false;
    // When the strike is live, ms from the move's start: from the start of
    // the first frame with strike values to the end of the last.
    std::int32_t strikeStart = 0;
    std::int32_t strikeEnd = 0;
    // How far in front of the fighter's position the strike reaches
    // (nearest and farthest live pixel, counting the frames' steps), and
    // its lowest and highest row above the ground.
    std::int32_t reachNear = 0;
    std::int32_t reachFar = 0;
    std::int32_t strikeLow = 0;
    std::int32_t strikeHigh = 0;
    std::int32_t forwardStep = 0;  // how far one play moves it toward the opponent
    std::int32_t peak = 0;         // the highest its steps take it
    std::vector<StrikeFrame> strikeFrames;
    // Presses and releases that start it from nothing held while the
    // default move plays; empty when no player can make it.
    std::vector<KeyAction> keys;
    bool special = false;  // needs more than one input step
    bool air = false;      // made in the air: its keys are pressed after a jump
};

struct MoveKnowledge {
    const Character* character = nullptr;
    std::vector<KnownMove> moves;  // in the Character's order, the default last
    std::vector<int> attacks;      // moves that strike and can be made from the ground
    std::vector<int> airAttacks;   // moves that strike and are made in the air
    int jump = -1;                 // made by Up alone and lifts the fighter
    int walk = -1;                 // made by Forward alone and steps forward
    int back = -1;                 // made by Back alone and steps back
    int block = -1;                // played while Block is held

    // The entry of one of the Character's moves; null for none.
    const KnownMove* find(const Move* move) const
    {
        for (const KnownMove& k : moves)
            if (k.move == move) return &k;
        return nullptr;
    }
    // Whether two of its moves (places in `moves`, -1 for none) play the
    // same animation, whichever input made them.
    bool sameAttack(int i, int j) const
    {
        const auto n = static_cast<int>(moves.size());
        if (i < 0 || j < 0 || i >= n || j >= n || !moves[i].move || !moves[j].move) return false;
        const Animation* a = moves[i].move->animation.get();
        const Animation* b = moves[j].move->animation.get();
        return a == b || (a && b && a->name == b->name);
    }
    // Whether some attack needs a single input step.
    bool hasPlainAttack() const
    {
        for (int i : attacks)
            if (!moves[static_cast<std::size_t>(i)].special) return true;
        return false;
    }
    // How soon, on average, its attacks of one input step strike (ms).
    std::int32_t meanStrikeStart() const
    {
        std::int64_t sum = 0, n = 0;
        for (int i : attacks) {
            const KnownMove& m = moves[static_cast<std::size_t>(i)];
            if (!m.special) sum += m.strikeStart, ++n;
        }
        return n == 0 ? 0 : static_cast<std::int32_t>(sum / n);
    }
    int indexOf(const Move* move) const
    {
        for (std::size_t i = 0; i < moves.size(); ++i)
            if (moves[i].move == move) return static_cast<int>(i);
        return -1;
    }
};

MoveKnowledge learnMoves(const Character& character);

}  // namespace ib
