// The host side of inkblot-sim's spectators (--spectators PORT): the door
// opened beside the fight, tended every turn of the loop, and kept open
// after the fight until every spectator has all of it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "net/net_play.h"
#include "net/spectator_feed.h"

namespace ib::sim {

// Prints "spectators on port N", or why the door cannot open.
std::unique_ptr<net::SpectatorFeed> openSpectatorDoor(std::uint16_t port, const std::string& gameVersion,
                                                      std::uint64_t content);
// Updates the feed and prints what happened at the door.
void tendSpectators(net::SpectatorFeed& feed, std::uint32_t nowMs, const net::NetPlay& play);
// Tends the door until every spectator has the whole fight (3 s at most),
// then prints the bytes sent to spectators per second of `fightMs`.
void seeSpectatorsOff(net::SpectatorFeed& feed, const net::NetPlay& play, std::uint32_t fightMs);

}  // namespace ib::sim
