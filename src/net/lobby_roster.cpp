#include "net/lobby_roster.h"

#include <algorithm>

namespace ib::net {

bool waitsLonger(const LobbyPlayer& a, const LobbyPlayer& b)
{
    if (a.presence.since != b.presence.since) return a.presence.since < b.presence.since;
    return a.name < b.name;
}

void LobbyRoster::update(const std::string& name, const LobbyPresence& presence)
{
    for (LobbyPlayer& p : players_)
        if (p.name == name) {
            p.presence = presence;
            return;
        }
    players_.push_back({name, presence});
}

void LobbyRoster::remove(const std::string& name)
{
    std::erase_if(players_, [&](const LobbyPlayer& p) { return p.name == name; });
}

const LobbyPlayer* LobbyRoster::find(const std::string& name) const
{
    for (const LobbyPlayer& p : players_)
        if (p.name == name) return &p;
    return nullptr;
}

const LobbyPlayer* LobbyRoster::host(const std::string& code, const std::string& self) const
{
    const LobbyPlayer* best = nullptr;
    for (const LobbyPlayer& p : players_)
        if (p.name != self && p.presence.state == PlayerState::Waiting && p.presence.code == code &&
            (!best || waitsLonger(p, *best)))
            best = &p;
    return best;
}

const LobbyPlayer* LobbyRoster::longestWaiting(const std::string& self) const
{
    const LobbyPlayer* best = nullptr;
    for (const LobbyPlayer& p : players_)
        if (p.name != self && p.presence.state == PlayerState::Waiting && (!best || waitsLonger(p, *best)))
            best = &p;
    return best;
}

}  // namespace ib::net
