// Records a replay of the session while it plays, wrapped around the
// machine's platform, so the main loop never knows: every message the game
// takes from the machine, the clock reading of every pass, and the fight's
// hash every kReplayHashEvery passes and after the last one.
#pragma once

#include <iosfwd>

#include "app/replay_recorder.h"
#include "platform/wrapped_platform.h"

namespace ib {

struct Game;

class RecordingPlatform : public WrappedPlatform {
public:
    RecordingPlatform(Platform& machine, std::ostream& out) : WrappedPlatform(machine), recorder_(out) {}

    // The game recorded; set before it runs.
    void watch(const Game& game) { game_ = &game; }
    // The session is over: the last pass's hash and the end line.
    void finish();

    bool peekMessage() override;
    void waitMessage() override;
    void beginPass() override;
    bool endPass() override;

protected:
    void taken(const Message& m, bool own) override;

private:
    // Moves the machine's waiting messages behind those already here, in
    // the order it gave them: the queue is the one the game would have had.
    void takeMachineMessages();

    ReplayRecorder recorder_;
    const Game* game_ = nullptr;
    // The pass running: whether it is a fight pass, and the clock when it
    // began.
    bool fightPass_ = false;
    std::uint32_t began_ = 0;
};

}  // namespace ib
