// Watching a fight from the lobby: the room's host lets this machine in,
// a line of its own leads to the host's door for spectators, and the fight
// plays here from the players' confirmed steps about a second behind them
// (a fight under way is caught up at once). Nothing here is sent to the
// players. Escape goes back to the splash screen.
#pragma once

#include <cstdint>
#include <memory>

#include "fight/fight_state.h"
#include "net/pairing.h"
#include "net/watch_session.h"
#include "platform/font.h"
#include "platform/platform.h"

namespace ib {

struct Game;

class OnlineWatch {
public:
    // `start`: the fight as start-up makes it, the game's matchup its.
    OnlineWatch(Game& game, std::unique_ptr<net::Pairing> line, const FightState& start);
    ~OnlineWatch();

    void message(const Message& m);
    // One pass of the main loop: the host's steps taken and run, the fight
    // drawn (or what is happening).
    void pass(Game& game);
    bool leaving() const { return leaving_; }

private:
    std::unique_ptr<net::Pairing> line_;
    net::WatchSession watch_;
    std::unique_ptr<Font> font_;
    bool opened_ = false;
    bool leaving_ = false;
    bool said_ = false;  // how it ended is written out
};

// The lobby let this machine watch: the fight is watched from the splash
// screen on.
void startLobbyWatch(Game& game, std::unique_ptr<net::Pairing> line);
// Back to the splash screen from watching.
void leaveWatch(Game& game);

}  // namespace ib
