// The connection to the other machine over ENet (UDP): channel 0 is
// reliable (the greeting, refusals, hashes), channel 1 unreliable (inputs).
// Every datagram carries ENet's CRC-32, so a corrupted one is dropped
// whole, and ENet's packet throttle is held open: inputs are few, small
// and sent again in every packet, and must never be thinned out.
//
// The host lets anyone knock but keeps the player's place free: a
// machine is only the player once the game has taken its greeting
// (accept()); until then it is a stranger, and a stranger that has not
// greeted within kGreetingMs, or a half-open attempt, is dropped. A third
// machine during the fight is turned away. Outgoing packets can be held
// back and dropped on purpose to try the game on a bad line (seeded, so
// a run can be repeated). Nothing here ever waits for the network.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <random>
#include <string>
#include <vector>

struct _ENetHost;
struct _ENetPeer;

namespace ib::net {

// An ENet host listening on `bindAddress` ("" for every address) and
// `port` (0: any free one), ENet started first; null with `error` set
// when it cannot be.
_ENetHost* openEnetHost(const std::string& bindAddress, std::uint16_t port, std::size_t peers,
                        std::size_t channels, std::string& error);

constexpr std::uint16_t kDefaultPort = 7150;
constexpr std::uint8_t kReliableChannel = 0;
constexpr std::uint8_t kInputChannel = 1;
// Said in ENet's connect request: both ends check datagrams with CRC-32.
constexpr std::uint32_t kLinkVersion = 0x49460002;
// A machine that has not greeted this long after knocking is dropped.
constexpr std::uint32_t kGreetingMs = 2000;
// Places for machines at the host's door, the player's among them.
constexpr std::size_t kHostPeers = 32;

// A bad line: round trip, jitter (each way, up to), the chance of losing
// an input packet (0 to 1) and the seed of the dice.
struct LineImpairment {
    std::uint32_t rttMs = 0;
    std::uint32_t jitterMs = 0;
    double loss = 0;
    std::uint32_t seed = 1;
    bool on = false;
};

struct Received {
    std::uint8_t channel = 0;
    std::vector<std::uint8_t> bytes;
    // Who sent it: the player, or a stranger the host may accept().
    bool fromPlayer = false;
    std::size_t stranger = 0;
};

class NetLink {
public:
    ~NetLink();
    NetLink(const NetLink&) = delete;
    NetLink& operator=(const NetLink&) = delete;

    // Waits for a player on `bindAddress` ("" for every address) and
    // `port` (0: any free port). Null with `error` set when it cannot.
    static std::unique_ptr<NetLink> host(const std::string& bindAddress, std::uint16_t port,
                                         const LineImpairment& line, std::string& error);
    // Connects to a host.
    static std::unique_ptr<NetLink> join(const std::string& address, std::uint16_t port,
                                         const LineImpairment& line, std::string& error);

    // Sends what is due and takes what has come, at `nowMs`; never waits.
    void poll(std::uint32_t nowMs, std::vector<Received>& in);
    // The host takes the stranger a greeting came from as its player;
    // false when it is gone by now.
    bool accept(std::size_t stranger);
    void send(std::uint8_t channel, std::vector<std::uint8_t> bytes, std::uint32_t nowMs);
    // Sends what is queued at once and closes the connection politely.
    void close();

    bool connected() const { return peer_ != nullptr; }
    // The player (or, joining, the host) went away.
    bool disconnected() const { return disconnected_; }
    std::uint16_t port() const;
    // Bytes handed to the network so far, ENet's headers included.
    std::uint64_t bytesSent() const;
    // Machines the host turned away or dropped for not greeting in time.
    std::int64_t strangersDropped() const { return strangersDropped_; }

private:
    struct Held {
        std::uint32_t due;
        std::uint8_t channel;
        std::vector<std::uint8_t> bytes;
    };
    NetLink(_ENetHost* host, const LineImpairment& line, bool hosting);
    void transmit(std::uint8_t channel, const std::vector<std::uint8_t>& bytes);
    void watchStrangers(std::uint32_t nowMs);
    void drop(_ENetPeer* peer);

    _ENetHost* host_;
    bool hosting_;
    _ENetPeer* peer_ = nullptr;     // the player, or the host joined
    _ENetPeer* knocked_ = nullptr;  // joining: the host asked
    bool disconnected_ = false;
    // Hosting: when each peer place was first seen in use (0: free).
    std::vector<std::uint32_t> seenAt_;
    std::int64_t strangersDropped_ = 0;
    LineImpairment line_;
    std::mt19937 dice_;
    std::deque<Held> held_;
};

}  // namespace ib::net
