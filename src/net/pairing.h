// Meeting one other player through the lobby and finding the line to them,
// as a screen drives it: connect, then host a room, join one by its code or
// quick match, then the line (ICE) once paired. Nothing here waits: poll()
// moves it on. The game's is made by startLobbyPairing(); a test may put
// its own in its place.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "net/ice_line.h"
#include "net/lobby_roster.h"
#include "net/lobby_xmpp.h"

namespace ib::net {

enum class PairingStage {
    Connecting,  // to the lobby server, into the room
    InLobby,     // in the room, asking for nothing
    Hosting,     // waiting in a room of our own (code())
    Asking,      // asked a host to let us in
    Linking,     // paired with peer(); ICE is finding the line
    Ready,       // the line is up (relayed() says how)
    Failed,      // failure() says what happened and what to do
};

class Pairing {
public:
    virtual ~Pairing() = default;
    // Runs what is due. `notes` gets what was read and not used, and what
    // was turned down while asking (the stage goes back to InLobby).
    virtual void poll(std::uint32_t nowMs, std::vector<std::string>& notes) = 0;
    // Each answers "" when under way, or what is wrong.
    virtual std::string host() = 0;
    virtual std::string joinByCode(const std::string& typed, std::uint32_t nowMs) = 0;
    virtual std::string quickMatch(std::uint32_t nowMs) = 0;
    // Asks the room's fighters to let us watch; once Ready, bridgePort()
    // leads to the host's door for spectators.
    virtual std::string watchByCode(const std::string&, std::uint32_t)
    {
        return "Watching a fight is not offered by this lobby";
    }
    virtual bool watching() const { return false; }
    // Hosting a fight: lines of their own to the spectators let in, each
    // to `doorPort` of 127.0.0.1; what happened goes to the next poll's
    // notes.
    virtual void tendSpectators(std::uint16_t /*doorPort*/, std::uint32_t /*nowMs*/) {}
    // Back to the lobby from hosting or asking.
    virtual void stop() = 0;
    virtual void close() = 0;

    virtual PairingStage stage() const = 0;
    virtual const std::string& failure() const = 0;
    virtual const LobbyRoster& roster() const = 0;
    virtual std::string name() const = 0;
    virtual std::string code() const = 0;
    virtual std::string peer() const = 0;
    // Once Ready: whether we are the room's host (player 1), the path, the
    // UDP port of 127.0.0.1 the joining side's ENet talks to, and where the
    // hosting side's ENet waits.
    virtual bool hosting() const = 0;
    virtual bool relayed() const = 0;
    virtual std::uint16_t bridgePort() const = 0;
    virtual void setGamePort(std::uint16_t port) = 0;
};

// The lobby (XMPP) and ICE; null with `error` set when it cannot start.
std::unique_ptr<Pairing> startLobbyPairing(const LobbyServer& server, const std::string& name,
                                           const IceOptions& ice, std::uint32_t nowMs, std::string& error);

}  // namespace ib::net
