// The lobby screen: the Online key on the splash screen connects to the
// lobby server and shows who is there, waiting or fighting. H hosts a room
// (its 6-letter code shown, to tell a friend), J and a typed code joins
// one, Q quick matches the player waiting longest, W and a typed code
// watches the fight of that room. Once paired, the line is found (direct or
// through the relay) and the fight starts as online play, or is watched. Every failure is said with what to do; Escape goes back (from
// typing a code or waiting, to the lobby; from the lobby, to the splash).
// The lobby is polled each pass: the screen keeps drawing.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "net/pairing.h"

namespace ib {

struct Game;
class Responder;

// The splash screen's key for the lobby.
constexpr int kKeyOnline = 0x74;  // F5

class LobbyScreen {
public:
    // Starts connecting; a lobby that cannot even start is said on the screen.
    LobbyScreen(Game& game, std::uint32_t nowMs);
    ~LobbyScreen();

    // A key-down (its virtual-key code).
    void key(int vk, std::uint32_t nowMs);
    void poll(std::uint32_t nowMs);
    // The line is up: the pairing goes to the fight.
    bool ready() const { return pairing_ && pairing_->stage() == net::PairingStage::Ready; }
    std::unique_ptr<net::Pairing> takePairing() { return std::move(pairing_); }
    // Escape in the lobby itself, or after a failure: back to the splash.
    bool leaving() const { return leaving_; }

    // What the screen says, line by line.
    std::vector<std::string> lines() const;
    const std::string& said() const { return said_; }
    const std::string& typed() const { return typed_; }
    bool typing() const { return typing_; }

private:
    void back();

    std::unique_ptr<net::Pairing> pairing_;
    std::string server_;
    std::string said_;  // the last thing that happened (a failure, a refusal, a note)
    std::string typed_;
    bool typing_ = false;
    bool typingToWatch_ = false;  // the code typed is a fight's to watch
    bool leaving_ = false;
};

// Opens the lobby screen over the splash screen.
void openLobby(Game& game);
// One pass of the open lobby screen: the lobby polled, the screen drawn;
// once the line is up, the fight starts online.
void lobbyPass(Game& game);
std::unique_ptr<Responder> lobbyResponder();

}  // namespace ib
