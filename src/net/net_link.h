// The connection to the other machine over ENet (UDP): channel 0 is
// reliable (the greeting, refusals, hashes), channel 1 unreliable (inputs).
// One peer only; a third is turned away. Outgoing packets can be held back
// and dropped on purpose to try the game on a bad line (seeded, so a run
// can be repeated). Nothing here ever waits for the network.
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

constexpr std::uint16_t kDefaultPort = 7150;
constexpr std::uint8_t kReliableChannel = 0;
constexpr std::uint8_t kInputChannel = 1;

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
    void send(std::uint8_t channel, std::vector<std::uint8_t> bytes, std::uint32_t nowMs);
    // Sends what is queued at once and closes the connection politely.
    void close();

    bool connected() const { return peer_ != nullptr; }
    bool disconnected() const { return disconnected_; }
    std::uint16_t port() const;
    // Bytes handed to the network so far, ENet's headers included.
    std::uint64_t bytesSent() const;

private:
    struct Held {
        std::uint32_t due;
        std::uint8_t channel;
        std::vector<std::uint8_t> bytes;
    };
    NetLink(_ENetHost* host, const LineImpairment& line);
    void transmit(std::uint8_t channel, const std::vector<std::uint8_t>& bytes);

    _ENetHost* host_;
    _ENetPeer* peer_ = nullptr;
    bool disconnected_ = false;
    LineImpairment line_;
    std::mt19937 dice_;
    std::deque<Held> held_;
};

}  // namespace ib::net
