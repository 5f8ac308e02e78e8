// Move recognition: the newest input snapshots pick a move from the
// Character's list, which then starts at once or waits for the current one.
#include <cstddef>

#include "fight/fighter.h"
#include "fight/flight.h"

namespace ib {

bool stepMatches(const ButtonSet& step, const ButtonSet& snapshot)
{
    // Without the wildcard the snapshot must hold exactly the step's buttons.
    const bool wildcard = step.contains(Wildcard);
    if (!wildcard && step.size() != snapshot.size()) return false;
    for (int code : step.codes()) {
        if (code != Wildcard && !snapshot.contains(code)) return false;
    }
    return true;
}

int compareMoves(const Move& candidate, const Move& current)
{
    // A looping move (a stance, a walk) gives way to anything.
    if (current.animation != nullptr && current.animation->loops != 0) return 1;
    if (candidate.priority > current.priority) return 1;
    if (candidate.priority == current.priority) return 0;
    return -1;
}

namespace {

// Whether the move's input steps match the newest history entries.
bool inputMatches(const Move& move, const InputHistory& history)
{
    const std::int32_t n = move.stepCount;
    if (n <= 0) return false;
    const auto steps = static_cast<std::size_t>(n);
    if (steps > history.size() || steps > move.steps.size()) return false;
    for (std::size_t j = 0; j < steps; ++j) {
        if (!stepMatches(move.steps[j], history[j])) return false;
    }
    return true;
}

}  // namespace

void Fighter::recognizeMove(std::uint32_t now)
{
    // The first ordinary move that matches wins, whatever comes after it.
    const Move* defaultMove = character->defaultMove();
    const Move* candidate = defaultMove;
    const std::size_t ordinary = character->moveCount > 0
                                     ? static_cast<std::size_t>(character->moveCount)
                                     : 0;
    for (std::size_t i = 0; i < ordinary && i < character->moves.size(); ++i) {
        const Move* m = character->moves[i].get();
        if (m != nullptr && inputMatches(*m, history)) {
            candidate = m;
            break;
        }
    }

    if (compareMoves(*candidate, *currentMove) == 1) {
        // The frame is left alone: the next animation step shows the new
        // move from its first frame.
        takeOff(*this);
        currentMove = candidate;
        moveStart = now;
        pendingMove = defaultMove;
    } else {
        pendingMove = candidate;
    }
}

}  // namespace ib
