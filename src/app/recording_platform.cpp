#include "app/recording_platform.h"

#include "app/game.h"

namespace ib {

void RecordingPlatform::takeMachineMessages()
{
    while (inner_.peekMessage()) {
        const Message m = inner_.getMessage();
        if (inner_.lastTakenWasOwn()) postOwnMessage(m);
        else postMessage(m);
    }
}

bool RecordingPlatform::peekMessage()
{
    takeMachineMessages();
    return !queue_.empty();
}

void RecordingPlatform::waitMessage()
{
    if (!queue_.empty()) return;
    inner_.waitMessage();
    takeMachineMessages();
}

void RecordingPlatform::taken(const Message& m, bool own)
{
    if (!own && game_) recorder_.message(*game_, m);
}

void RecordingPlatform::beginPass()
{
    inner_.beginPass();
    // A fight pass reads the clock once and keeps it; the splash and end
    // screens read none, so their passes are recorded at the time they
    // began.
    fightPass_ = game_ && game_->fight.gameState == GameState::Fight;
    began_ = fightPass_ ? 0 : inner_.timeGetTime();
}

bool RecordingPlatform::endPass()
{
    if (game_) {
        // A match keeps the clock apart from its own time, which stands
        // still while paused.
        const FightState& f = game_->fight;
        const std::uint32_t clock = f.match.on ? f.match.lastClock : f.currentTime;
        recorder_.pass(*game_, fightPass_ ? clock : began_);
    }
    return inner_.endPass();
}

void RecordingPlatform::finish()
{
    if (game_) recorder_.finish(*game_);
}

}  // namespace ib
