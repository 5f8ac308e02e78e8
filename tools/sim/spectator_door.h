// The host side of inkblot-sim's spectators (--spectators PORT): the door
// opened beside the fight, tended every turn of the loop, and kept open
// after the fight until every spectator has all of it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "net/net_play.h"
#include "net/spectator_feed.h"
#include "net/spectator_lines.h"
#include "sim/lobby_sim.h"

namespace ib::sim {

// Prints "spectators on port N", or why the door cannot open.
std::unique_ptr<net::SpectatorFeed> openSpectatorDoor(std::uint16_t port, const std::string& gameVersion,
                                                      std::uint64_t content);
// Updates the feed and prints what happened at the door.
void tendSpectators(net::SpectatorFeed& feed, std::uint32_t nowMs, const net::NetPlay& play);
// Hosting through the lobby: a line (ICE) of its own for each spectator
// let in, ending at the door.
class SpectatorLines {
public:
    void tend(LobbyMeeting& m, std::uint16_t doorPort, const net::IceOptions& ice, std::uint32_t nowMs);

private:
    net::SpectatorLines lines_;
};

// Tends the door until every spectator has the whole fight (3 s at most),
// then prints the bytes sent to spectators per second of `fightMs`.
// `alsoTend` keeps the lines to them going, if any.
void seeSpectatorsOff(net::SpectatorFeed& feed, const net::NetPlay& play, std::uint32_t fightMs,
                      const std::function<void(std::uint32_t)>& alsoTend = {});

}  // namespace ib::sim
