// The lobby's XMPP connection (libstrophe): an anonymous login to the
// lobby server, the room "lobby" on its rooms host, the game's state in
// the room presence, private messages to other players in the room, and
// the STUN and TURN servers the server lists (XEP-0215). Nothing here
// waits: poll() does what has come and reports it as events.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "net/lobby_text.h"

struct _xmpp_ctx_t;
struct _xmpp_conn_t;
struct _xmpp_stanza_t;

namespace ib::net {

constexpr std::uint16_t kDefaultLobbyPort = 5222;
// A lobby server that has not let us into the room by then is given up.
constexpr std::uint32_t kLobbyConnectMs = 10000;

struct LobbyServer {
    std::string address;  // where to connect (a name or an IP address)
    std::uint16_t port = kDefaultLobbyPort;
    std::string domain;   // the XMPP domain; the address when empty
};

struct XmppEvent {
    enum class Kind {
        InRoom,    // we are in the room, as `nick`
        Presence,  // `nick` is in the room; `text`: their game state ("" if none)
        Gone,      // `nick` left the room
        Message,   // `nick` sent `text`
        Services,  // the STUN and TURN servers came (iceServers())
        Failed,    // the connection is lost or refused; `text` says why
        Note,      // something read was not used; `text` says what
    };
    Kind kind;
    std::string nick;
    std::string text;
};

class LobbyXmpp {
public:
    ~LobbyXmpp();
    LobbyXmpp(const LobbyXmpp&) = delete;
    LobbyXmpp& operator=(const LobbyXmpp&) = delete;

    // Starts connecting as `name` with the first game state `state`; null
    // with `error` set when it cannot even start.
    static std::unique_ptr<LobbyXmpp> connect(const LobbyServer& server, const std::string& name,
                                              const std::string& state, std::uint32_t nowMs,
                                              std::string& error);
    void poll(std::uint32_t nowMs, std::vector<XmppEvent>& out);
    void setState(const std::string& state);
    void sendTo(const std::string& nick, const std::string& body);
    // Leaves the room and the server politely.
    void close();

    const std::string& nick() const { return nick_; }
    bool inRoom() const { return inRoom_; }
    const std::vector<IceServer>& iceServers() const { return iceServers_; }
    // The server has answered which STUN and TURN servers it has (maybe none).
    bool servicesKnown() const { return servicesKnown_; }

private:
    LobbyXmpp(const LobbyServer& server, const std::string& name, const std::string& state,
              std::uint32_t nowMs);
    friend struct XmppCallbacks;
    void connection(bool up, int error);
    void enterRoom();
    void presence(_xmpp_stanza_t* stanza);
    void message(_xmpp_stanza_t* stanza);
    void services(_xmpp_stanza_t* stanza);
    // The nick of a stanza from the room; empty (with a note) otherwise.
    std::string fromRoom(_xmpp_stanza_t* stanza);
    void fail(const std::string& why);

    LobbyServer server_;
    std::string room_;  // lobby@rooms.<domain>
    std::string wanted_, nick_, state_;
    int nickTries_ = 0;
    _xmpp_ctx_t* ctx_ = nullptr;
    _xmpp_conn_t* conn_ = nullptr;
    bool connected_ = false, inRoom_ = false, failed_ = false, closing_ = false, servicesKnown_ = false;
    std::uint32_t startMs_;
    std::vector<XmppEvent> pending_;
    std::vector<IceServer> iceServers_;
};

}  // namespace ib::net
