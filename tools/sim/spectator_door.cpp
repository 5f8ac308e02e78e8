#include "sim/spectator_door.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>

namespace ib::sim {

namespace {

std::uint32_t wallMs()
{
    using namespace std::chrono;
    return static_cast<std::uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

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
    using K = net::LobbyEvent::Kind;
    for (const net::LobbyEvent& e : std::exchange(m.spectatorEvents, {})) {
        auto it = std::find_if(lines_.begin(), lines_.end(), [&](const Line& l) { return l.name == e.from; });
        std::string error;
        if (e.kind == K::SpectatorIn && it == lines_.end()) {
            std::unique_ptr<net::IceLine> line = net::IceLine::start(true, m.lobby->iceServers(), ice, nowMs, error);
            if (!line) {
                std::printf("spectators: no line to %s: %s\n", e.from.c_str(), error.c_str());
                continue;
            }
            line->setGamePort(doorPort);
            lines_.push_back({e.from, std::move(line)});
        } else if (e.kind == K::SpectatorData && it != lines_.end()) {
            if (!it->line->remote(e.text, error)) std::printf("spectators: %s: %s\n", e.from.c_str(), error.c_str());
        } else if (e.kind == K::SpectatorGone && it != lines_.end()) {
            lines_.erase(it);
        }
    }
    for (auto it = lines_.begin(); it != lines_.end();) {
        std::string local;
        it->line->poll(nowMs, local);
        if (!local.empty()) m.lobby->sendToSpectator(it->name, local);
        if (it->line->state() == net::IceLine::State::Ready && !it->up) {
            it->up = true;
            std::printf("spectators: line to %s up, %s\n", it->name.c_str(), it->line->relayed() ? "relayed" : "direct");
        }
        if (it->line->state() == net::IceLine::State::Failed) {
            std::printf("spectators: line to %s failed: %s\n", it->name.c_str(), it->line->failure().c_str());
            it = lines_.erase(it);
        } else {
            ++it;
        }
    }
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
