#include "net/lobby_xmpp.h"

#include <strophe.h>

#include <cstring>
#include <mutex>

namespace ib::net {
namespace {

constexpr const char* kGameNs = "urn:inkblot:lobby";
constexpr const char* kMucNs = "http://jabber.org/protocol/muc";
constexpr const char* kMucUserNs = "http://jabber.org/protocol/muc#user";
constexpr const char* kServicesNs = "urn:xmpp:extdisco:2";
constexpr const char* kServicesId = "ib-services";
constexpr int kNickTries = 5;

// A string libstrophe made, as ours.
std::string take(xmpp_ctx_t* ctx, char* text)
{
    if (!text) return {};
    std::string out(text);
    xmpp_free(ctx, text);
    return out;
}

xmpp_stanza_t* element(xmpp_ctx_t* ctx, const char* name, const char* ns)
{
    xmpp_stanza_t* e = xmpp_stanza_new(ctx);
    xmpp_stanza_set_name(e, name);
    if (ns) xmpp_stanza_set_ns(e, ns);
    return e;
}

void adopt(xmpp_stanza_t* parent, xmpp_stanza_t* child)
{
    xmpp_stanza_add_child(parent, child);
    xmpp_stanza_release(child);
}

xmpp_stanza_t* gameState(xmpp_ctx_t* ctx, const std::string& state)
{
    xmpp_stanza_t* game = element(ctx, "game", kGameNs);
    xmpp_stanza_t* text = xmpp_stanza_new(ctx);
    xmpp_stanza_set_text(text, state.c_str());
    adopt(game, text);
    return game;
}

// The condition of an error stanza ("conflict", "item-not-found", ...).
std::string condition(xmpp_stanza_t* stanza)
{
    xmpp_stanza_t* error = xmpp_stanza_get_child_by_name(stanza, "error");
    xmpp_stanza_t* first = error ? xmpp_stanza_get_children(error) : nullptr;
    while (first && !xmpp_stanza_is_tag(first)) first = xmpp_stanza_get_next(first);
    const char* name = first ? xmpp_stanza_get_name(first) : nullptr;
    return name ? name : "unknown error";
}

bool hasStatus(xmpp_stanza_t* stanza, const char* code)
{
    xmpp_stanza_t* x = xmpp_stanza_get_child_by_ns(stanza, kMucUserNs);
    for (xmpp_stanza_t* c = x ? xmpp_stanza_get_children(x) : nullptr; c; c = xmpp_stanza_get_next(c)) {
        const char* name = xmpp_stanza_get_name(c);
        const char* value = xmpp_stanza_get_attribute(c, "code");
        if (name && value && std::strcmp(name, "status") == 0 && std::strcmp(value, code) == 0) return true;
    }
    return false;
}

}  // namespace

struct XmppCallbacks {
    static void connection(xmpp_conn_t*, xmpp_conn_event_t event, int error, xmpp_stream_error_t*, void* self)
    {
        static_cast<LobbyXmpp*>(self)->connection(event == XMPP_CONN_CONNECT, error);
    }
    static int presence(xmpp_conn_t*, xmpp_stanza_t* stanza, void* self)
    {
        static_cast<LobbyXmpp*>(self)->presence(stanza);
        return 1;
    }
    static int message(xmpp_conn_t*, xmpp_stanza_t* stanza, void* self)
    {
        static_cast<LobbyXmpp*>(self)->message(stanza);
        return 1;
    }
    static int services(xmpp_conn_t*, xmpp_stanza_t* stanza, void* self)
    {
        static_cast<LobbyXmpp*>(self)->services(stanza);
        return 0;
    }
};

LobbyXmpp::LobbyXmpp(const LobbyServer& server, const std::string& name, const std::string& state,
                     std::uint32_t nowMs)
    : server_(server), wanted_(name), nick_(name), state_(state), startMs_(nowMs)
{
    if (server_.domain.empty()) server_.domain = server_.address;
    room_ = "lobby@rooms." + server_.domain;
}

std::unique_ptr<LobbyXmpp> LobbyXmpp::connect(const LobbyServer& server, const std::string& name,
                                              const std::string& state, std::uint32_t nowMs, std::string& error)
{
    static std::once_flag once;
    std::call_once(once, [] { xmpp_initialize(); });
    if (!isPlayerName(name)) {
        error = "The name \"" + name + "\" cannot be shown in the lobby: use 1 to " +
                std::to_string(kMaxPlayerName) + " letters, digits or signs";
        return nullptr;
    }
    std::unique_ptr<LobbyXmpp> x(new LobbyXmpp(server, name, state, nowMs));
    x->ctx_ = xmpp_ctx_new(nullptr, nullptr);
    x->conn_ = x->ctx_ ? xmpp_conn_new(x->ctx_) : nullptr;
    if (!x->conn_) {
        error = "Cannot start a lobby connection (out of memory)";
        return nullptr;
    }
    // No account: the domain alone logs in anonymously.
    xmpp_conn_set_jid(x->conn_, x->server_.domain.c_str());
    xmpp_conn_set_flags(x->conn_, XMPP_CONN_FLAG_DISABLE_SM);
    if (xmpp_connect_client(x->conn_, server.address.c_str(), server.port, XmppCallbacks::connection, x.get()) !=
        XMPP_EOK) {
        error = "Cannot reach the lobby server " + server.address + ":" + std::to_string(server.port) +
                ": the address cannot be used; check --lobby";
        return nullptr;
    }
    xmpp_handler_add(x->conn_, XmppCallbacks::presence, nullptr, "presence", nullptr, x.get());
    xmpp_handler_add(x->conn_, XmppCallbacks::message, nullptr, "message", nullptr, x.get());
    return x;
}

LobbyXmpp::~LobbyXmpp()
{
    close();
    if (conn_) xmpp_conn_release(conn_);
    if (ctx_) xmpp_ctx_free(ctx_);
}

void LobbyXmpp::connection(bool up, int error)
{
    if (up) {
        connected_ = true;
        enterRoom();
        xmpp_stanza_t* iq = xmpp_iq_new(ctx_, "get", kServicesId);
        xmpp_stanza_set_attribute(iq, "to", server_.domain.c_str());
        adopt(iq, element(ctx_, "services", kServicesNs));
        xmpp_id_handler_add(conn_, XmppCallbacks::services, kServicesId, this);
        xmpp_send(conn_, iq);
        xmpp_stanza_release(iq);
        return;
    }
    const bool was = connected_;
    connected_ = false;
    if (closing_) return;
    const std::string where = server_.address + ":" + std::to_string(server_.port);
    const std::string why = error ? std::string(" (") + std::strerror(error) + ")" : std::string();
    fail(was ? "Lost the lobby server " + where + why + "; connect again later"
             : "Cannot reach the lobby server " + where + why +
                   "; check the address, or start a lobby with tools/lobby/serve.sh");
}

void LobbyXmpp::enterRoom()
{
    xmpp_stanza_t* p = xmpp_presence_new(ctx_);
    xmpp_stanza_set_attribute(p, "to", (room_ + "/" + nick_).c_str());
    xmpp_stanza_t* x = element(ctx_, "x", kMucNs);
    xmpp_stanza_t* history = element(ctx_, "history", nullptr);
    xmpp_stanza_set_attribute(history, "maxstanzas", "0");
    adopt(x, history);
    adopt(p, x);
    adopt(p, gameState(ctx_, state_));
    xmpp_send(conn_, p);
    xmpp_stanza_release(p);
}

void LobbyXmpp::setState(const std::string& state)
{
    state_ = state;
    if (!inRoom_) return;
    xmpp_stanza_t* p = xmpp_presence_new(ctx_);
    xmpp_stanza_set_attribute(p, "to", (room_ + "/" + nick_).c_str());
    adopt(p, gameState(ctx_, state_));
    xmpp_send(conn_, p);
    xmpp_stanza_release(p);
}

void LobbyXmpp::sendTo(const std::string& nick, const std::string& body)
{
    if (!inRoom_) return;
    xmpp_stanza_t* m = xmpp_message_new(ctx_, "chat", (room_ + "/" + nick).c_str(), nullptr);
    xmpp_message_set_body(m, body.c_str());
    adopt(m, element(ctx_, "x", kMucUserNs));
    xmpp_send(conn_, m);
    xmpp_stanza_release(m);
}

std::string LobbyXmpp::fromRoom(xmpp_stanza_t* stanza)
{
    const char* from = xmpp_stanza_get_from(stanza);
    const std::string f = from ? from : "";
    if (f.size() > room_.size() + 1 && f.compare(0, room_.size(), room_) == 0 && f[room_.size()] == '/')
        return f.substr(room_.size() + 1);
    // The server itself (or another client) may write to us; only the room counts.
    return {};
}

void LobbyXmpp::presence(xmpp_stanza_t* stanza)
{
    const std::string nick = fromRoom(stanza);
    if (nick.empty()) return;
    const char* type = xmpp_stanza_get_type(stanza);
    const std::string t = type ? type : "";
    if (t == "error") {
        if (!inRoom_ && condition(stanza) == "conflict" && ++nickTries_ < kNickTries) {
            nick_ = wanted_ + "-" + std::to_string(nickTries_ + 1);
            enterRoom();
            return;
        }
        if (!inRoom_) fail("The lobby room did not let us in (" + condition(stanza) + "); try another name");
        return;
    }
    const bool self = hasStatus(stanza, "110") || nick == nick_;
    if (t == "unavailable") {
        if (self && inRoom_ && !closing_) fail("The lobby server put us out of the room; connect again");
        else if (!self) pending_.push_back({XmppEvent::Kind::Gone, nick, {}});
        return;
    }
    if (self) {
        if (!inRoom_) {
            inRoom_ = true;
            nick_ = nick;
            pending_.push_back({XmppEvent::Kind::InRoom, nick, {}});
        }
        return;
    }
    xmpp_stanza_t* game = xmpp_stanza_get_child_by_ns(stanza, kGameNs);
    pending_.push_back({XmppEvent::Kind::Presence, nick, game ? take(ctx_, xmpp_stanza_get_text(game)) : ""});
}

void LobbyXmpp::message(xmpp_stanza_t* stanza)
{
    const char* type = xmpp_stanza_get_type(stanza);
    const std::string t = type ? type : "normal";
    if (t == "groupchat" || t == "headline") return;
    const std::string nick = fromRoom(stanza);
    if (nick.empty()) return;
    if (t == "error") {
        pending_.push_back({XmppEvent::Kind::Note, nick,
                            "a message to " + nick + " did not arrive (" + condition(stanza) + ")"});
        return;
    }
    pending_.push_back({XmppEvent::Kind::Message, nick, take(ctx_, xmpp_message_get_body(stanza))});
}

void LobbyXmpp::services(xmpp_stanza_t* stanza)
{
    const char* type = xmpp_stanza_get_type(stanza);
    xmpp_stanza_t* list = xmpp_stanza_get_child_by_ns(stanza, kServicesNs);
    servicesKnown_ = true;
    if (!type || std::strcmp(type, "result") != 0 || !list) {
        pending_.push_back({XmppEvent::Kind::Note, {},
                            "the lobby server lists no STUN or TURN server; only direct lines can be tried"});
        return;
    }
    iceServers_.clear();
    for (xmpp_stanza_t* s = xmpp_stanza_get_children(list); s; s = xmpp_stanza_get_next(s)) {
        const char* name = xmpp_stanza_get_name(s);
        if (!name || std::strcmp(name, "service") != 0) continue;
        auto get = [s](const char* key) { return xmpp_stanza_get_attribute(s, key); };
        std::string error;
        std::optional<IceServer> server = decodeService(get("type"), get("transport"), get("host"), get("port"),
                                                        get("username"), get("password"), error);
        if (server) iceServers_.push_back(*server);
        else if (!error.empty()) pending_.push_back({XmppEvent::Kind::Note, {}, error});
    }
    pending_.push_back({XmppEvent::Kind::Services, {}, {}});
}

void LobbyXmpp::fail(const std::string& why)
{
    if (failed_) return;
    failed_ = true;
    inRoom_ = false;
    pending_.push_back({XmppEvent::Kind::Failed, {}, why});
}

void LobbyXmpp::poll(std::uint32_t nowMs, std::vector<XmppEvent>& out)
{
    if (!failed_ && !closing_) xmpp_run_once(ctx_, 0);
    if (!failed_ && !inRoom_ && nowMs - startMs_ > kLobbyConnectMs)
        fail("The lobby server " + server_.address + ":" + std::to_string(server_.port) + " did not let us in within " +
             std::to_string(kLobbyConnectMs / 1000) + " s; check the address, or try again later");
    for (XmppEvent& e : pending_) out.push_back(std::move(e));
    pending_.clear();
}

void LobbyXmpp::close()
{
    if (closing_ || !conn_) return;
    closing_ = true;
    if (!connected_) return;
    if (inRoom_) {
        xmpp_stanza_t* p = xmpp_presence_new(ctx_);
        xmpp_stanza_set_type(p, "unavailable");
        xmpp_stanza_set_attribute(p, "to", (room_ + "/" + nick_).c_str());
        xmpp_send(conn_, p);
        xmpp_stanza_release(p);
    }
    inRoom_ = false;
    xmpp_disconnect(conn_);
    // Bounded: what is queued goes out, the server closes the stream.
    for (int i = 0; i < 50 && connected_; ++i) xmpp_run_once(ctx_, 10);
}

}  // namespace ib::net
