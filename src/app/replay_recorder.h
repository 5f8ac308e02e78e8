// Writes a replay of the session while it plays: every message the game
// takes from the machine, the clock reading of every pass, and the fight's
// hash every 60 passes and after the last one.
#pragma once

#include <cstdint>
#include <iosfwd>

#include "input/replay_file.h"

namespace ib {

struct Game;

// A hash of the fight is written after every this many passes.
constexpr std::uint32_t kReplayHashEvery = 60;

class ReplayRecorder {
public:
    explicit ReplayRecorder(std::ostream& out) : writer_(out) {}

    // A message from the machine, as the main loop takes it.
    void message(const Game& game, const Message& m);
    // A pass has run; `clock` is the reading it went by.
    void pass(const Game& game, std::uint32_t clock);
    // The session is over: the last pass's hash and the end line.
    void finish(const Game& game);

private:
    // The header, once the game has read its content.
    void start(const Game& game);

    ReplayWriter writer_;
    bool started_ = false;
    std::uint32_t passes_ = 0;
    std::uint32_t lastClock_ = 0;
    std::uint64_t lastHash_ = 0;
    std::uint64_t lastContent_ = 0;
};

// The header of a replay of this game as it is set up now.
ReplayHeader replayHeaderOf(const Game& game);

}  // namespace ib
