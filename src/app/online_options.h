// The game's online options: --host [PORT], --join HOST[:PORT], --delay N,
// and --lobby HOST[:PORT], the lobby server the Online key connects to.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace ib {

namespace net {
class Pairing;
struct LobbyServer;
}  // namespace net

struct OnlineOptions {
    bool host = false;
    bool join = false;
    std::string address;         // the host to join
    std::uint16_t port = 7150;
    int delay = 2;               // input delay in steps, 0 to 4
    bool delayGiven = false;     // --delay was given (it wins over the controls file)
    std::string lobby;           // --lobby HOST[:PORT]
    // The fight was arranged in the lobby: the line is the lobby's (no
    // router to ask), and leaving it goes back to the splash screen.
    bool viaLobby = false;
    bool online() const { return host || join; }
};

// The lobby screen's settings: the server (--lobby, else the controls
// file's [online] lobby), the name shown there ([online] name, else one
// made up), and how it reaches the lobby (the lobby and ICE; tests give
// their own).
struct LobbySettings {
    bool offered = false;  // the splash screen's key opens the lobby (not in a replay)
    std::string server;
    std::string name;
    std::function<std::unique_ptr<net::Pairing>(const net::LobbyServer&, const std::string& name,
                                                std::uint32_t nowMs, std::string& error)>
        connect;
};

// Reads HOST[:PORT] (port 5222 unless given); false when it is not one.
bool readLobbyAddress(const std::string& text, net::LobbyServer& out);

// Takes the online options out of args (the arguments after the program's
// name), leaving the others in their order. Returns what is wrong with
// them, or an empty text.
std::string takeOnlineOptions(std::vector<std::string>& args, OnlineOptions& out);

}  // namespace ib
