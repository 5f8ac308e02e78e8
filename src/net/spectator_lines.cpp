#include "net/spectator_lines.h"

#include <algorithm>
#include <utility>

namespace ib::net {

bool SpectatorLines::take(const LobbyEvent& e)
{
    using K = LobbyEvent::Kind;
    if (e.kind != K::SpectatorIn && e.kind != K::SpectatorData && e.kind != K::SpectatorGone) return false;
    events_.push_back(e);
    return true;
}

void SpectatorLines::tend(Lobby& lobby, std::uint16_t doorPort, const IceOptions& ice, std::uint32_t nowMs,
                          std::vector<std::string>& notes)
{
    using K = LobbyEvent::Kind;
    for (const LobbyEvent& e : std::exchange(events_, {})) {
        auto it = std::find_if(lines_.begin(), lines_.end(), [&](const Line& l) { return l.name == e.from; });
        std::string error;
        if (e.kind == K::SpectatorIn && it == lines_.end()) {
            std::unique_ptr<IceLine> line = IceLine::start(true, lobby.iceServers(), ice, nowMs, error);
            if (!line) {
                notes.push_back("no line to " + e.from + ": " + error);
                continue;
            }
            line->setGamePort(doorPort);
            lines_.push_back({e.from, std::move(line)});
        } else if (e.kind == K::SpectatorData && it != lines_.end()) {
            if (!it->line->remote(e.text, error)) notes.push_back(e.from + ": " + error);
        } else if (e.kind == K::SpectatorGone && it != lines_.end()) {
            lines_.erase(it);
        }
    }
    for (auto it = lines_.begin(); it != lines_.end();) {
        std::string local;
        it->line->poll(nowMs, local);
        if (!local.empty()) lobby.sendToSpectator(it->name, local);
        if (it->line->state() == IceLine::State::Ready && !it->up) {
            it->up = true;
            notes.push_back("line to " + it->name + " up, " + (it->line->relayed() ? "relayed" : "direct"));
        }
        if (it->line->state() == IceLine::State::Failed) {
            notes.push_back("line to " + it->name + " failed: " + it->line->failure());
            it = lines_.erase(it);
        } else {
            ++it;
        }
    }
}

}  // namespace ib::net
