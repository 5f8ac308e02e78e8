// Who is in the lobby room, as their presences said: each player's name
// in the room and their state. Quick match picks the player waiting
// longest; a room code belongs to whoever began waiting with it first.
#pragma once

#include <string>
#include <vector>

#include "net/lobby_text.h"

namespace ib::net {

struct LobbyPlayer {
    std::string name;
    LobbyPresence presence;
};

class LobbyRoster {
public:
    // A player came or changed their state.
    void update(const std::string& name, const LobbyPresence& presence);
    void remove(const std::string& name);
    void clear() { players_.clear(); }

    const std::vector<LobbyPlayer>& players() const { return players_; }
    const LobbyPlayer* find(const std::string& name) const;
    // The player other than `self` waiting in the room with `code`; when
    // two claim it, the one who began first (then by name).
    const LobbyPlayer* host(const std::string& code, const std::string& self) const;
    // The player other than `self` who has waited longest (then by name).
    const LobbyPlayer* longestWaiting(const std::string& self) const;

private:
    std::vector<LobbyPlayer> players_;
};

// Whether a's claim to a room comes before b's.
bool waitsLonger(const LobbyPlayer& a, const LobbyPlayer& b);

}  // namespace ib::net
