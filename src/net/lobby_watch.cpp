// The lobby's side of watching a fight: a spectator asks every player
// fighting for the room's code, and the room's host lets in up to
// kLobbySpectators of them, each then swapping texts (the ICE candidates
// of a line of its own) with the host.
#include <algorithm>

#include "net/lobby.h"

namespace ib::net {

std::string Lobby::watchByCode(const std::string& typed, std::uint32_t nowMs)
{
    if (!inLobby()) return "Not in the lobby yet";
    if (mode_ == Mode::Paired) return "Already paired with " + peer_;
    const std::string code = normalRoomCode(typed);
    if (code.empty())
        return "A room code is 6 letters from A to Z (without I and O); \"" + typed.substr(0, 20) + "\" is not one";
    int asked = 0;
    for (const LobbyPlayer& p : roster_.players())
        if (p.name != name() && p.presence.state == PlayerState::Fighting) {
            reply(p.name, LobbyKind::Watch, code);
            ++asked;
        }
    if (asked == 0) return "No one in the lobby is fighting: there is no fight of the room " + code + " to watch";
    mode_ = Mode::Asking;
    watching_ = true;
    code_ = code;
    peer_.clear();
    askedAt_ = nowMs;
    return {};
}

std::string Lobby::sendToSpectator(const std::string& to, const std::string& text)
{
    if (std::find(spectators_.begin(), spectators_.end(), to) == spectators_.end())
        return to + " is not watching our fight";
    std::string error;
    const std::string message = encodeMessage({LobbyKind::Data, code_, text});
    if (!decodeMessage(message, error)) return "Cannot send this to " + to + ": " + error;
    xmpp_->sendTo(to, message);
    return {};
}

bool Lobby::onWatchMessage(const std::string& from, const LobbyMessage& m, std::vector<LobbyEvent>& out)
{
    const bool ourFight = mode_ == Mode::Paired && hosted_ && m.code == code_;
    const bool asking = watching_ && mode_ == Mode::Asking && m.code == code_;
    const bool isSpectator = std::find(spectators_.begin(), spectators_.end(), from) != spectators_.end();
    switch (m.kind) {
    case LobbyKind::Watch:
        // Every player fighting is asked; only the room's host answers.
        if (!ourFight) return true;
        if (!isSpectator && spectators_.size() >= kLobbySpectators) {
            reply(from, LobbyKind::Refuse, m.code,
                  "the fight of the room " + m.code + " already has " + std::to_string(kLobbySpectators) +
                      " spectators");
            return true;
        }
        if (!isSpectator) {
            spectators_.push_back(from);
            out.push_back({LobbyEvent::Kind::SpectatorIn, from, from});
        }
        reply(from, LobbyKind::Accept, m.code);
        return true;
    case LobbyKind::Accept:
        if (!asking) return false;
        mode_ = Mode::Paired;
        hosted_ = false;
        peer_ = from;
        out.push_back({LobbyEvent::Kind::Paired, from});
        return true;
    case LobbyKind::Refuse:
        if (!asking) return false;
        mode_ = Mode::Idle;
        watching_ = false;
        out.push_back({LobbyEvent::Kind::Refused, from + " turned us away: " + m.text});
        return true;
    case LobbyKind::Data:
        if (!ourFight || !isSpectator) return false;
        out.push_back({LobbyEvent::Kind::SpectatorData, m.text, from});
        return true;
    case LobbyKind::Join: return false;
    }
    return false;
}

}  // namespace ib::net
