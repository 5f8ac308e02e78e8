// The line between two players found by ICE (libnice): host, server-
// reflexive (STUN) and relayed (TURN) candidates, connectivity checks,
// the best pair chosen. The two sides swap their candidates as text
// through the lobby (libnice's SDP lines). The game's ENet sockets do not
// change: ENet talks to a UDP port of 127.0.0.1 that this line forwards
// over the chosen path, datagram for datagram. Nothing here waits.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "net/lobby_text.h"

struct _NiceAgent;
struct _GMainContext;

namespace ib::net {

// Datagrams from the other side kept until the game's port is known.
constexpr std::size_t kEarlyDatagrams = 16;

// Checks that have found no working pair by then are given up.
constexpr std::uint32_t kIceGiveUpMs = 20000;

struct IceOptions {
    // Gather host candidates only on this address ("" for every one).
    std::string localAddress;
    // Offer relayed candidates only (to try the relay).
    bool relayOnly = false;
};

class IceLine {
public:
    enum class State { Gathering, Checking, Ready, Failed };

    ~IceLine();
    IceLine(const IceLine&) = delete;
    IceLine& operator=(const IceLine&) = delete;

    // The room's host controls the checks. Null with `error` set when the
    // line cannot start at all.
    static std::unique_ptr<IceLine> start(bool controlling, const std::vector<IceServer>& servers,
                                          const IceOptions& options, std::uint32_t nowMs, std::string& error);

    // Runs what is due; once gathered, `local` is set (once) to the text
    // for the other side.
    void poll(std::uint32_t nowMs, std::string& local);
    // The other side's text; false (with `error`) when it cannot be used.
    bool remote(const std::string& text, std::string& error);

    State state() const { return state_; }
    // Why it failed, and what to do.
    const std::string& failure() const { return failure_; }
    // The chosen pair goes through the TURN relay.
    bool relayed() const;
    // The UDP port of 127.0.0.1 the game's ENet talks to.
    std::uint16_t bridgePort() const { return bridgePort_; }
    // Hosting: where the game's ENet waits, on 127.0.0.1.
    void setGamePort(std::uint16_t port);

private:
    IceLine() = default;
    friend struct IceCallbacks;
    void received(const char* bytes, unsigned size);
    void forward();
    void fail(const std::string& why);
    void deliverEarly();

    _GMainContext* context_ = nullptr;
    _NiceAgent* agent_ = nullptr;
    unsigned stream_ = 0;
    int socket_ = -1;  // the bridge, on 127.0.0.1
    std::uint16_t bridgePort_ = 0, gamePort_ = 0, enetPort_ = 0;
    State state_ = State::Gathering;
    bool gathered_ = false, sentLocal_ = false, hasRemote_ = false;
    std::uint32_t startMs_ = 0;
    std::string failure_;
    std::vector<std::string> early_;
};

}  // namespace ib::net
