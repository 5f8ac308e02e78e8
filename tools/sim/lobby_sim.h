// inkblot-sim's way into an online fight through the lobby: meet the other
// player there (host a room, join by code, or quick match), find the line
// with ICE, and keep the lobby and the line going while the fight runs.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "net/ice_line.h"
#include "net/lobby.h"

namespace ib::sim {

struct LobbySimOptions {
    net::LobbyServer server;    // address empty: no lobby
    std::string name = "sim";
    std::string hostCode;       // "new": a code the lobby makes
    std::string joinCode;
    std::string watchCode;      // watch the fight of this room
    bool quick = false;
    net::IceOptions ice;
};

// Takes one option of the lobby's with its value: true when it was one;
// `error` set when its value is wrong.
bool takeLobbyOption(const std::string& option, const std::string& value, LobbySimOptions& o, std::string& error);

// What is missing from the lobby's options taken together, or "".
std::string lobbyOptionsProblem(const LobbySimOptions& o);

struct LobbyMeeting {
    std::unique_ptr<net::Lobby> lobby;
    std::unique_ptr<net::IceLine> line;
    bool hosting = false;
    std::uint32_t joinedAt = 0;  // when the join (or quick match) was asked
    // Hosting: what spectators said in the lobby, for their lines.
    std::vector<net::LobbyEvent> spectatorEvents;
};

// Meets the other player and waits for the line (30 s at most). Null with
// `error` set when it fails; prints what happens.
std::unique_ptr<LobbyMeeting> meetThroughLobby(const LobbySimOptions& o, std::string& error);
// Moves the game's datagrams and what the lobby says; "" or why the line
// is gone.
std::string keepUp(LobbyMeeting& m, std::uint32_t nowMs);

}  // namespace ib::sim
