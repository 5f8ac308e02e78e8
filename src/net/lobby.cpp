#include "net/lobby.h"

#include <ctime>

namespace ib::net {
namespace {

const std::string kCodeRule = "A room code is 6 letters from A to Z (without I and O)";

}  // namespace

Lobby::Lobby(std::unique_ptr<LobbyXmpp> xmpp) : xmpp_(std::move(xmpp)), dice_(std::random_device{}()) {}

std::unique_ptr<Lobby> Lobby::connect(const LobbyServer& server, const std::string& name, std::uint32_t nowMs,
                                      std::string& error)
{
    std::unique_ptr<LobbyXmpp> xmpp = LobbyXmpp::connect(server, name, encodePresence({}), nowMs, error);
    if (!xmpp) return nullptr;
    return std::unique_ptr<Lobby>(new Lobby(std::move(xmpp)));
}

void Lobby::poll(std::uint32_t nowMs, std::vector<LobbyEvent>& out)
{
    std::vector<XmppEvent> events;
    xmpp_->poll(nowMs, events);
    for (const XmppEvent& e : events) handle(e, out);
    if (mode_ == Mode::Asking && nowMs - askedAt_ > kLobbyAnswerMs) {
        mode_ = Mode::Idle;
        out.push_back({LobbyEvent::Kind::Refused,
                       (watching_ ? "No fight of the room " + code_ + " answered" : "The host " + peer_ + " did not answer") +
                           " within " +
                           std::to_string(kLobbyAnswerMs / 1000) + " s; try again"});
    }
}

void Lobby::handle(const XmppEvent& e, std::vector<LobbyEvent>& out)
{
    using K = XmppEvent::Kind;
    switch (e.kind) {
    case K::InRoom: out.push_back({LobbyEvent::Kind::InLobby, e.nick}); break;
    case K::Presence: onPresence(e, out); break;
    case K::Gone:
        roster_.remove(e.nick);
        if (std::erase(spectators_, e.nick)) out.push_back({LobbyEvent::Kind::SpectatorGone, e.nick, e.nick});
        if (e.nick != peer_) break;
        if (mode_ == Mode::Paired) {
            mode_ = Mode::Idle;
            announce();
            out.push_back({LobbyEvent::Kind::PeerGone, e.nick + " left the lobby"});
        } else if (mode_ == Mode::Asking) {
            mode_ = Mode::Idle;
            out.push_back({LobbyEvent::Kind::Refused, "The host " + e.nick + " left the lobby; try another room"});
        }
        break;
    case K::Message: {
        std::string error;
        const std::optional<LobbyMessage> m = decodeMessage(e.text, error);
        if (m) onMessage(e.nick, *m, out);
        else out.push_back({LobbyEvent::Kind::Note, "ignored a message from " + e.nick + ": " + error});
        break;
    }
    case K::Services: break;
    case K::Failed:
        mode_ = Mode::Idle;
        roster_.clear();
        out.push_back({LobbyEvent::Kind::Failed, e.text});
        break;
    case K::Note: out.push_back({LobbyEvent::Kind::Note, e.text}); break;
    }
}

void Lobby::onPresence(const XmppEvent& e, std::vector<LobbyEvent>& out)
{
    if (e.text.empty()) {  // someone in the room with a chat program, not the game
        roster_.remove(e.nick);
        return;
    }
    std::string error;
    const std::optional<LobbyPresence> p = decodePresence(e.text, error);
    if (!p) {
        out.push_back({LobbyEvent::Kind::Note, "ignored the state of " + e.nick + ": " + error});
        return;
    }
    roster_.update(e.nick, *p);
    // Two hosts took the same code at once: the later one moves.
    if (mode_ == Mode::Hosting && p->state == PlayerState::Waiting && p->code == code_ &&
        waitsLonger(*roster_.find(e.nick), {name(), {PlayerState::Waiting, code_, since_}})) {
        host();
        out.push_back({LobbyEvent::Kind::CodeMoved, code_});
    }
}

void Lobby::onMessage(const std::string& from, const LobbyMessage& m, std::vector<LobbyEvent>& out)
{
    if (onWatchMessage(from, m, out)) return;
    switch (m.kind) {
    case LobbyKind::Join:
        if (mode_ == Mode::Hosting && m.code == code_) {
            mode_ = Mode::Paired;
            hosted_ = true;
            peer_ = from;
            reply(from, LobbyKind::Accept, code_);
            announce();
            out.push_back({LobbyEvent::Kind::Paired, from});
        } else {
            reply(from, LobbyKind::Refuse, m.code,
                  mode_ == Mode::Paired && m.code == code_ ? "the room " + m.code + " is full"
                                                           : "no room with the code " + m.code + " here");
        }
        return;
    case LobbyKind::Accept:
        if (mode_ == Mode::Asking && from == peer_ && m.code == code_) {
            mode_ = Mode::Paired;
            hosted_ = false;
            announce();
            out.push_back({LobbyEvent::Kind::Paired, from});
            return;
        }
        break;
    case LobbyKind::Refuse:
        if (mode_ == Mode::Asking && from == peer_ && m.code == code_) {
            mode_ = Mode::Idle;
            out.push_back({LobbyEvent::Kind::Refused, from + " turned us away: " + m.text});
            return;
        }
        break;
    case LobbyKind::Data:
        if (mode_ == Mode::Paired && from == peer_ && m.code == code_) {
            out.push_back({LobbyEvent::Kind::Data, m.text});
            return;
        }
        break;
    case LobbyKind::Watch: break;  // taken by onWatchMessage
    }
    out.push_back({LobbyEvent::Kind::Note, "ignored a message from " + from + " that belongs to no room of ours"});
}

std::string Lobby::host(const std::string& code)
{
    if (!inLobby()) return "Not in the lobby yet";
    if (mode_ == Mode::Paired) return "Already paired with " + peer_;
    if (code.empty()) {
        std::string fresh;
        for (int i = 0; i < 20 && (fresh.empty() || roster_.host(fresh, name())); ++i) fresh = makeRoomCode(dice_());
        code_ = fresh;
    } else {
        const std::string c = normalRoomCode(code);
        if (c.empty()) return kCodeRule;
        if (const LobbyPlayer* other = roster_.host(c, name()))
            return "The code " + c + " is taken by " + other->name + "; choose another, or let the game make one";
        code_ = c;
    }
    mode_ = Mode::Hosting;
    watching_ = false;
    since_ = static_cast<std::int64_t>(std::time(nullptr));
    announce();
    return {};
}

std::string Lobby::joinByCode(const std::string& typed, std::uint32_t nowMs)
{
    if (!inLobby()) return "Not in the lobby yet";
    if (mode_ == Mode::Paired) return "Already paired with " + peer_;
    const std::string code = normalRoomCode(typed);
    if (code.empty()) return kCodeRule + "; \"" + typed.substr(0, 20) + "\" is not one";
    const LobbyPlayer* host = roster_.host(code, name());
    if (!host) return "No one in the lobby hosts the room " + code + "; check the code with your friend";
    return ask(*host, nowMs);
}

std::string Lobby::quickMatch(std::uint32_t nowMs)
{
    if (!inLobby()) return "Not in the lobby yet";
    if (mode_ == Mode::Paired) return "Already paired with " + peer_;
    const LobbyPlayer* host = roster_.longestWaiting(name());
    if (!host) return "No one is waiting in the lobby; host a room, or try again in a moment";
    return ask(*host, nowMs);
}

std::string Lobby::ask(const LobbyPlayer& host, std::uint32_t nowMs)
{
    mode_ = Mode::Asking;
    watching_ = false;
    code_ = host.presence.code;
    peer_ = host.name;
    askedAt_ = nowMs;
    announce();
    reply(peer_, LobbyKind::Join, code_);
    return {};
}

void Lobby::stop()
{
    if (mode_ == Mode::Paired) return;
    mode_ = Mode::Idle;
    announce();
}

std::string Lobby::send(const std::string& text)
{
    if (mode_ != Mode::Paired) return "Not paired with another player";
    // What the other side reads, checked here first.
    std::string error;
    const std::string message = encodeMessage({LobbyKind::Data, code_, text});
    if (!decodeMessage(message, error)) return "Cannot send this to " + peer_ + ": " + error;
    xmpp_->sendTo(peer_, message);
    return {};
}

void Lobby::reply(const std::string& to, LobbyKind kind, const std::string& code, const std::string& text)
{
    xmpp_->sendTo(to, encodeMessage({kind, code, text}));
}

void Lobby::announce()
{
    LobbyPresence p;
    if (mode_ == Mode::Hosting) p = {PlayerState::Waiting, code_, since_};
    else if (mode_ == Mode::Paired && !watching_) p.state = PlayerState::Fighting;
    xmpp_->setState(encodePresence(p));
}

}  // namespace ib::net
