#include "sim/lobby_sim.h"

#include <arpa/inet.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>

#include "content/whole_number.h"
#include "sim/wall_clock.h"

namespace ib::sim {
namespace {

constexpr std::uint32_t kMeetMs = 30000;
// A player joining looks this long at the room for the code before saying it is unknown.
constexpr std::uint32_t kLookMs = 2000;

// inkblot-sim talks to this machine, or to the test networks of the
// documentation ranges a test builds in network namespaces.
bool allowedAddress(const std::string& a)
{
    in_addr ip{};
    if (inet_pton(AF_INET, a.c_str(), &ip) != 1) return false;
    const std::uint32_t v = ntohl(ip.s_addr);
    const std::uint32_t net24 = v & 0xffffff00u;
    return v == 0x7f000001u || net24 == 0xc0000200u || net24 == 0xc6336400u || net24 == 0xcb007100u;
}

void say(const std::string& what)
{
    std::printf("lobby: %s\n", what.c_str());
    std::fflush(stdout);
}

}  // namespace

bool takeLobbyOption(const std::string& option, const std::string& value, LobbySimOptions& o, std::string& error)
{
    if (option == "--lobby") {
        const auto colon = value.rfind(':');
        o.server.address = value.substr(0, colon);
        o.server.port = net::kDefaultLobbyPort;
        if (colon != std::string::npos) {
            const auto port = wholeNumber<std::uint16_t>(value.substr(colon + 1));
            if (!port || *port == 0) error = "--lobby takes ADDRESS[:PORT]";
            else o.server.port = *port;
        }
        if (!allowedAddress(o.server.address))
            error = "inkblot-sim meets in a lobby on 127.0.0.1 or a documentation range only";
        if (o.ice.localAddress.empty()) o.ice.localAddress = "127.0.0.1";
    } else if (option == "--lobby-domain") {
        o.server.domain = value;
    } else if (option == "--name") {
        if (!net::isPlayerName(value)) error = "--name takes 1 to 24 printable characters";
        o.name = value;
    } else if (option == "--match") {
        if (value == "quick") o.quick = true;
        else if (value.rfind("host:", 0) == 0) o.hostCode = value.substr(5);
        else if (value.rfind("join:", 0) == 0) o.joinCode = value.substr(5);
        else if (value.rfind("watch:", 0) == 0) o.watchCode = value.substr(6);
        else error = "--match takes quick, host:CODE, host:new, join:CODE or watch:CODE";
    } else if (option == "--ice-address") {
        if (!allowedAddress(value)) error = "--ice-address takes 127.0.0.1 or an address of a documentation range";
        o.ice.localAddress = value;
    } else if (option == "--ice-relay-only") {
        if (value != "yes" && value != "no") error = "--ice-relay-only takes yes or no";
        o.ice.relayOnly = value == "yes";
    } else {
        return false;
    }
    return true;
}

std::string lobbyOptionsProblem(const LobbySimOptions& o)
{
    const bool match = o.quick || !o.hostCode.empty() || !o.joinCode.empty() || !o.watchCode.empty();
    if (o.server.address.empty()) return match ? "--match needs --lobby" : "";
    return match ? "" : "--lobby needs --match quick, host:CODE, host:new, join:CODE or watch:CODE";
}

std::unique_ptr<LobbyMeeting> meetThroughLobby(const LobbySimOptions& o, std::string& error)
{
    auto m = std::make_unique<LobbyMeeting>();
    net::LobbyServer server = o.server;
    if (server.domain.empty()) server.domain = "localhost";
    const std::uint32_t began = wallMs();
    m->lobby = net::Lobby::connect(server, o.name, began, error);
    if (!m->lobby) return nullptr;
    bool asked = false;
    std::uint32_t inLobbyAt = 0;
    std::string local, remote;
    while (wallMs() - began < kMeetMs) {
        const std::uint32_t now = wallMs();
        std::vector<net::LobbyEvent> events;
        m->lobby->poll(now, events);
        for (const net::LobbyEvent& e : events) {
            using K = net::LobbyEvent::Kind;
            if (e.kind == K::Failed || e.kind == K::Refused || e.kind == K::PeerGone) {
                error = e.text;
                return nullptr;
            }
            if (e.kind == K::Note) say("note: " + e.text);
            if (e.kind == K::CodeMoved) say("hosting room " + e.text + " (the code was taken)");
            if (e.kind == K::Paired) say("paired with " + e.text);
            // The other side's candidates may come before our own line has
            // started (the TURN credentials are still on their way): kept.
            if (e.kind == K::Data) remote = e.text;
        }
        // Quick match and join wait until the room has been seen a moment.
        if (m->lobby->inLobby() && !inLobbyAt) inLobbyAt = now;
        if (inLobbyAt && !asked) {
            std::string refused;
            const bool looked = now - inLobbyAt > kLookMs;
            if (!o.hostCode.empty()) {
                refused = m->lobby->host(o.hostCode == "new" ? "" : o.hostCode);
                if (refused.empty()) say("hosting room " + m->lobby->code());
                asked = true;
            } else if (!o.watchCode.empty()) {
                // The host of a fight is in the room as fighting.
                const auto& players = m->lobby->roster().players();
                if (looked || std::any_of(players.begin(), players.end(), [](const net::LobbyPlayer& p) {
                        return p.presence.state == net::PlayerState::Fighting;
                    })) {
                    m->joinedAt = now;
                    refused = m->lobby->watchByCode(o.watchCode, now);
                    asked = true;
                }
            } else if (o.quick ? m->lobby->roster().longestWaiting(m->lobby->name()) != nullptr || looked
                               : m->lobby->roster().host(net::normalRoomCode(o.joinCode), m->lobby->name()) ||
                                     looked) {
                m->joinedAt = now;
                refused = o.quick ? m->lobby->quickMatch(now) : m->lobby->joinByCode(o.joinCode, now);
                asked = true;
            }
            if (!refused.empty()) {
                error = refused;
                return nullptr;
            }
        }
        if (m->lobby->paired() && !m->line && m->lobby->iceServersKnown()) {
            m->hosting = m->lobby->hosted();
            if (m->joinedAt == 0) m->joinedAt = now;
            m->line = net::IceLine::start(m->hosting, m->lobby->iceServers(), o.ice, now, error);
            if (!m->line) return nullptr;
        }
        if (m->line && !remote.empty()) {
            if (!m->line->remote(remote, error)) return nullptr;
            remote.clear();
        }
        if (m->line) {
            m->line->poll(now, local);
            if (!local.empty()) {
                error = m->lobby->send(local);
                if (!error.empty()) return nullptr;
                local.clear();
            }
            if (m->line->state() == net::IceLine::State::Failed) {
                error = m->line->failure();
                return nullptr;
            }
            if (m->line->state() == net::IceLine::State::Ready) {
                say(std::string("line up, ") + (m->line->relayed() ? "relayed" : "direct") + ", after " +
                    std::to_string(now - m->joinedAt) + " ms");
                return m;
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    error = "no line to another player within " + std::to_string(kMeetMs / 1000) + " s";
    return nullptr;
}

std::string keepUp(LobbyMeeting& m, std::uint32_t nowMs)
{
    std::vector<net::LobbyEvent> events;
    m.lobby->poll(nowMs, events);
    for (net::LobbyEvent& e : events) {
        using K = net::LobbyEvent::Kind;
        if (e.kind == K::SpectatorIn || e.kind == K::SpectatorData || e.kind == K::SpectatorGone)
            m.spectatorEvents.push_back(std::move(e));
    }
    std::string local;
    m.line->poll(nowMs, local);
    if (m.line->state() == net::IceLine::State::Failed) return m.line->failure();
    return {};
}

}  // namespace ib::sim
