// The host's door for spectators, on a port of its own: up to
// kMaxSpectators machines greet it, get the fight's start and then the
// confirmed inputs of both players from step 0 on (a spectator that comes
// late gets the whole backlog first), and at the end the number of steps
// and the last one's hash. The fight never waits for a spectator: each
// one has at most kWatchWindow steps sent and not yet acknowledged, and
// one that is silent, stuck or says what cannot be true is dropped.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "net/watch_packet.h"

struct _ENetHost;
struct _ENetPeer;

namespace ib::net {

class NetPlay;

constexpr std::size_t kMaxSpectators = 8;
// Steps sent to a spectator and not yet acknowledged, at most.
constexpr std::uint32_t kWatchWindow = 600;
// New steps go to a spectator at most this often (it plays a second
// behind), unless they fill a packet.
constexpr std::uint32_t kWatchBatchMs = 100;
// Packets sent to one spectator in one update, at most.
constexpr int kWatchPacketsPerUpdate = 8;

class SpectatorFeed {
public:
    ~SpectatorFeed();
    SpectatorFeed(const SpectatorFeed&) = delete;
    SpectatorFeed& operator=(const SpectatorFeed&) = delete;

    // Listens on `bindAddress` ("" for every address) and `port` (0: any
    // free one). Null with `error` set when it cannot.
    static std::unique_ptr<SpectatorFeed> open(const std::string& bindAddress, std::uint16_t port,
                                               const std::string& gameVersion, std::uint64_t content,
                                               std::string& error);

    // Takes greetings and acknowledgements and sends every spectator what
    // `play` has confirmed that it lacks; never waits.
    void update(std::uint32_t nowMs, const NetPlay& play);
    // Says goodbye to every spectator.
    void close();

    std::uint16_t port() const;
    std::size_t spectators() const;
    // Every spectator has been sent the fight's end and acknowledged all of it.
    bool delivered() const;
    std::uint64_t bytesSent() const;
    // What happened at the door since the last call: spectators come,
    // refused and dropped, with why.
    std::vector<std::string> takeNotes();

private:
    struct Watcher {
        _ENetPeer* peer = nullptr;
        std::uint32_t since = 0;      // when it knocked
        std::uint32_t heardAt = 0;    // when it last said something
        std::uint32_t movedAt = 0;    // when its acknowledgement last grew
        std::uint32_t sentAt = 0;     // when steps last went to it
        bool greeted = false;
        bool started = false;         // the fight's start is sent
        bool ended = false;           // the fight's end is sent
        std::uint32_t sent = 0;       // steps sent
        std::uint32_t acked = 0;      // steps it has
        int number = 0;               // the how-manieth to knock, for the notes
        bool gone = false;            // dropped or refused: removed after the update
    };
    SpectatorFeed(_ENetHost* host, const std::string& gameVersion, std::uint64_t content);
    Watcher* find(_ENetPeer* peer);
    void receive(Watcher& w, std::span<const std::uint8_t> bytes, std::uint32_t nowMs);
    void feed(Watcher& w, const NetPlay& play, std::uint32_t nowMs);
    void send(Watcher& w, const WatchPacket& p);
    void drop(Watcher& w, const std::string& why);
    void refuse(Watcher& w, const std::string& why);
    std::size_t greetedCount() const;

    _ENetHost* host_;
    std::string gameVersion_;
    std::uint64_t content_;
    std::vector<Watcher> watchers_;
    std::vector<std::string> notes_;
    int knocks_ = 0;
};

}  // namespace ib::net
