// Meeting another player in the lobby: host a room under a 6-letter code
// and wait, join a room by its code, or quick match (the player waiting
// longest). The host takes the first player who asks for its code and
// turns away the rest; once two players are paired they exchange short
// texts (the ICE candidates) until the line between them is up. Every
// presence and message read is checked; one that cannot be used is
// reported as a note and changes nothing.
#pragma once

#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "net/lobby_roster.h"
#include "net/lobby_xmpp.h"

namespace ib::net {

// A host that has not answered a join by then is given up.
constexpr std::uint32_t kLobbyAnswerMs = 10000;

struct LobbyEvent {
    enum class Kind {
        InLobby,    // in the room; the roster fills from here
        Paired,     // `text`: the other player's name
        Refused,    // joining failed; `text` says why and what to do
        Data,       // the other player sent `text`
        PeerGone,   // the other player left the lobby
        Failed,     // the lobby is lost; `text` says why
        Note,       // something read was not used; `text` says what
        CodeMoved,  // another host had our code first; `text`: the new code
        // Hosting a fight: a spectator was let in, sent `text`, or left;
        // `from` is its name.
        SpectatorIn,
        SpectatorData,
        SpectatorGone,
    };
    Kind kind;
    std::string text;
    std::string from = {};
};
// A fight's host lets in this many spectators, and turns away the rest.
constexpr std::size_t kLobbySpectators = 8;

class Lobby {
public:
    static std::unique_ptr<Lobby> connect(const LobbyServer& server, const std::string& name,
                                          std::uint32_t nowMs, std::string& error);
    void poll(std::uint32_t nowMs, std::vector<LobbyEvent>& out);

    // Each returns "" when under way, or what is wrong.
    // Hosts a room under `code` (a new one when empty); the code is code().
    std::string host(const std::string& code = "");
    std::string joinByCode(const std::string& typed, std::uint32_t nowMs);
    std::string quickMatch(std::uint32_t nowMs);
    // Watches the fight whose host hosted the room `typed`: asks every
    // player fighting (the room's host answers); paired with the host once
    // let in.
    std::string watchByCode(const std::string& typed, std::uint32_t nowMs);
    // Asking to watch, or let in as a spectator.
    bool watching() const { return watching_; }
    // To a spectator let in; "" or why it cannot go.
    std::string sendToSpectator(const std::string& name, const std::string& text);
    // Back to idle: stops hosting or asking (not once paired).
    void stop();
    // To the paired player; "" or why it cannot go (not paired, or a text
    // the other side would refuse).
    std::string send(const std::string& text);
    void close() { xmpp_->close(); }

    const LobbyRoster& roster() const { return roster_; }
    const std::string& name() const { return xmpp_->nick(); }
    const std::string& code() const { return code_; }
    const std::string& peer() const { return peer_; }
    bool paired() const { return mode_ == Mode::Paired; }
    bool hosted() const { return hosted_; }  // paired as the room's host
    bool inLobby() const { return xmpp_->inRoom(); }
    const std::vector<IceServer>& iceServers() const { return xmpp_->iceServers(); }
    bool iceServersKnown() const { return xmpp_->servicesKnown(); }

private:
    enum class Mode { Idle, Hosting, Asking, Paired };
    explicit Lobby(std::unique_ptr<LobbyXmpp> xmpp);
    void handle(const XmppEvent& e, std::vector<LobbyEvent>& out);
    void onPresence(const XmppEvent& e, std::vector<LobbyEvent>& out);
    void onMessage(const std::string& from, const LobbyMessage& m, std::vector<LobbyEvent>& out);
    std::string ask(const LobbyPlayer& host, std::uint32_t nowMs);
    void reply(const std::string& to, LobbyKind kind, const std::string& code, const std::string& text = {});
    void announce();
    // A spectator's message (or one to a spectator): true when it was one.
    bool onWatchMessage(const std::string& from, const LobbyMessage& m, std::vector<LobbyEvent>& out);

    std::unique_ptr<LobbyXmpp> xmpp_;
    LobbyRoster roster_;
    Mode mode_ = Mode::Idle;
    std::string code_, peer_;
    bool hosted_ = false;
    std::int64_t since_ = 0;
    std::uint32_t askedAt_ = 0;
    std::mt19937_64 dice_;
    bool watching_ = false;                // asking or paired as a spectator
    std::vector<std::string> spectators_;  // hosting: those let in
};

}  // namespace ib::net
