// The game online: the splash screen while the players meet, then a fight
// run by the rollback session on the machine's clock, with the line of the
// connection's figures in a corner, and its replay kept in the user's
// data folder. It runs in the game's one main loop: the session is the
// Game's `online`, its responder takes the keys and pads first, and each
// pass of the loop is one of its passes.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "app/online_options.h"
#include "fight/step_input.h"
#include "net/net_play.h"
#include "net/pairing.h"
#include "net/port_mapping.h"
#include "net/spectator_feed.h"
#include "platform/font.h"
#include "platform/platform.h"

namespace ib {

struct Game;

// Where online fights are kept: "replays" in the player's data folder
// (platform/user_folders.h); empty when there is none.
std::filesystem::path onlineReplayFolder();

class OnlinePlay {
public:
    // Opens the connection (hosting or joining, as `options` say) from the
    // game as set up; the display is open. Through the lobby, `line` is the
    // pairing whose line the game's packets take.
    OnlinePlay(Game& game, const OnlineOptions& options, std::unique_ptr<net::Pairing> line = nullptr);
    ~OnlinePlay();

    // The keys and pads, read as the local player's held buttons; F6 shows
    // or hides the figures; Escape and F12 give up.
    void message(Game& game, const Message& m);
    // One pass of the main loop: the session's steps, then the screen of
    // its phase.
    void pass(Game& game);
    // The game is quitting: say goodbye and keep the fight.
    void quit(Game& game);
    const net::NetPlay& play() const { return play_; }
    // A fight from the lobby is over or given up: back to the splash screen.
    bool leaving() const { return leaving_; }
    void leave() { leaving_ = true; }
    bool viaLobby() const { return line_ != nullptr; }
    // What is wrong with the fighter or stage chosen; empty when nothing.
    const std::string& choiceError() const { return choiceError_; }

private:
    void keepReplay(const Game& game);

    std::string choiceError_;
    net::NetPlay play_;
    std::unique_ptr<net::Pairing> line_;
    bool leaving_ = false;
    std::unique_ptr<net::PortMapping> mapping_;
    // Hosting a fight from the lobby: the door for its spectators.
    std::unique_ptr<net::SpectatorFeed> spectators_;
    std::unique_ptr<Font> font_;
    net::StepBits keysHeld_ = 0;
    // Every pad plays for the local player: what each holds is read back
    // from it, and the record its events write is not the fight's.
    StepInput padEvents_;
    bool kept_ = false;
    bool showFigures_ = true;
    std::uint32_t endShownAt_ = 0;
    std::uint32_t drawnAt_ = 0;
};

// Start-up and the main loop, online; returns the exit status.
int runOnlineGame(Game& game, const OnlineOptions& options);
// The lobby found the line: the fight starts online, as its host or the
// one who joined.
void startLobbyFight(Game& game, std::unique_ptr<net::Pairing> line);
// Leaves a fight from the lobby for the splash screen, the fight kept.
void leaveOnlineFight(Game& game);

}  // namespace ib
