#include "sim/spectator_door.h"
#include "sim/wall_clock.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>

namespace ib::sim {

namespace {

constexpr std::uint32_t kSeeOffMs = 3000;

}  // namespace

std::unique_ptr<net::SpectatorFeed> openSpectatorDoor(std::uint16_t port, const std::string& gameVersion,
                                                      std::uint64_t content)
{
    std::string error;
    auto feed = net::SpectatorFeed::open("127.0.0.1", port, gameVersion, content, error);
    if (feed)
        std::printf("spectators on port %u\n", feed->port());
    else
        std::printf("spectators: %s\n", error.c_str());
    return feed;
}

void tendSpectators(net::SpectatorFeed& feed, std::uint32_t nowMs, const net::NetPlay& play)
{
    feed.update(nowMs, play);
    for (const std::string& note : feed.takeNotes()) {
        std::printf("spectators: %s\n", note.c_str());
        std::fflush(stdout);
    }
}

void SpectatorLines::tend(LobbyMeeting& m, std::uint16_t doorPort, const net::IceOptions& ice, std::uint32_t nowMs)
{
    for (const net::LobbyEvent& e : std::exchange(m.spectatorEvents, {})) lines_.take(e);
    std::vector<std::string> notes;
    lines_.tend(*m.lobby, doorPort, ice, nowMs, notes);
    for (const std::string& note : notes) std::printf("spectators: %s\n", note.c_str());
    std::fflush(stdout);
}

void seeSpectatorsOff(net::SpectatorFeed& feed, const net::NetPlay& play, std::uint32_t fightMs,
                      const std::function<void(std::uint32_t)>& alsoTend)
{
    const std::uint32_t from = wallMs();
    while (!feed.delivered() && wallMs() - from < kSeeOffMs) {
        tendSpectators(feed, wallMs(), play);
        if (alsoTend) alsoTend(wallMs());
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    const double seconds = fightMs / 1000.0;
    std::printf("spectators: bytes %llu bytes-per-second %.0f%s\n", static_cast<unsigned long long>(feed.bytesSent()),
                seconds > 0 ? static_cast<double>(feed.bytesSent()) / seconds : 0.0,
                feed.delivered() ? "" : " (not every spectator has the whole fight)");
    feed.close();
}

}  // namespace ib::sim
