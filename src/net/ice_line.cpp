#include "net/ice_line.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <nice/agent.h>

namespace ib::net {
namespace {

constexpr int kMaxRounds = 256;  // of the loop's work, or of datagrams, a poll
constexpr std::size_t kMaxDatagram = 1500;

// libnice takes servers by IP address: a name is looked up (IPv4).
std::string ipOf(const std::string& host)
{
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || !found) return {};
    char text[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &reinterpret_cast<sockaddr_in*>(found->ai_addr)->sin_addr, text, sizeof text);
    freeaddrinfo(found);
    return text;
}

sockaddr_in loopback(std::uint16_t port)
{
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return a;
}

}  // namespace

struct IceCallbacks {
    static void gathered(NiceAgent*, guint, gpointer self) { static_cast<IceLine*>(self)->gathered_ = true; }
    static void changed(NiceAgent*, guint, guint, guint state, gpointer self)
    {
        auto* line = static_cast<IceLine*>(self);
        if ((state == NICE_COMPONENT_STATE_CONNECTED || state == NICE_COMPONENT_STATE_READY) &&
            line->state_ != IceLine::State::Failed)
            line->state_ = IceLine::State::Ready;
        if (state == NICE_COMPONENT_STATE_FAILED)
            line->fail("No line to the other player: ICE found no working path, direct or relayed; "
                       "check that the lobby's TURN server is reachable");
    }
    static void received(NiceAgent*, guint, guint, guint size, gchar* bytes, gpointer self)
    {
        static_cast<IceLine*>(self)->received(bytes, size);
    }
};

std::unique_ptr<IceLine> IceLine::start(bool controlling, const std::vector<IceServer>& servers,
                                        const IceOptions& options, std::uint32_t nowMs, std::string& error)
{
    std::unique_ptr<IceLine> line(new IceLine());
    line->startMs_ = nowMs;
    line->socket_ = socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    sockaddr_in here = loopback(0);
    socklen_t size = sizeof here;
    if (line->socket_ < 0 || bind(line->socket_, reinterpret_cast<sockaddr*>(&here), sizeof here) != 0 ||
        getsockname(line->socket_, reinterpret_cast<sockaddr*>(&here), &size) != 0) {
        error = "Cannot open the game's side of the line on 127.0.0.1";
        return nullptr;
    }
    line->bridgePort_ = ntohs(here.sin_port);

    line->context_ = g_main_context_new();
    line->agent_ = nice_agent_new(line->context_, NICE_COMPATIBILITY_RFC5245);
    // No UPnP searches on the local network, UDP only (ENet is UDP).
    g_object_set(line->agent_, "controlling-mode", controlling ? TRUE : FALSE, "upnp", FALSE, "ice-tcp", FALSE,
                 "force-relay", options.relayOnly ? TRUE : FALSE, nullptr);
    // A check through the relay waits for the relay's permission first:
    // more tries than libnice's three, sooner.
    g_object_set(line->agent_, "stun-max-retransmissions", 6u, "stun-initial-timeout", 250u, nullptr);
    line->stream_ = nice_agent_add_stream(line->agent_, 1);
    nice_agent_set_stream_name(line->agent_, line->stream_, "application");
    bool relay = false;
    // A TURN server's answer names this side's public address as well; the
    // same server asked again by STUN from the same port answers in a way
    // libnice cannot read, and gathering waits for its time-outs.
    bool turnListed = false;
    for (const IceServer& s : servers) turnListed = turnListed || s.turn;
    for (const IceServer& s : servers) {
        const std::string ip = ipOf(s.host);
        if (ip.empty()) continue;
        if (!s.turn) {
            if (turnListed) continue;
            g_object_set(line->agent_, "stun-server", ip.c_str(), "stun-server-port", static_cast<guint>(s.port),
                         nullptr);
        } else if (nice_agent_set_relay_info(line->agent_, line->stream_, 1, ip.c_str(), s.port, s.username.c_str(),
                                             s.password.c_str(), NICE_RELAY_TYPE_TURN_UDP)) {
            relay = true;
        }
    }
    if (options.relayOnly && !relay) {
        error = "No TURN server to relay through: the lobby server lists none";
        return nullptr;
    }
    if (!options.localAddress.empty()) {
        NiceAddress address;
        nice_address_init(&address);
        if (!nice_address_set_from_string(&address, options.localAddress.c_str())) {
            error = "Not an IP address: " + options.localAddress;
            return nullptr;
        }
        nice_agent_add_local_address(line->agent_, &address);
    }
    g_signal_connect(line->agent_, "candidate-gathering-done", G_CALLBACK(IceCallbacks::gathered), line.get());
    g_signal_connect(line->agent_, "component-state-changed", G_CALLBACK(IceCallbacks::changed), line.get());
    nice_agent_attach_recv(line->agent_, line->stream_, 1, line->context_, IceCallbacks::received, line.get());
    if (!nice_agent_gather_candidates(line->agent_, line->stream_)) {
        error = "ICE found no address of this machine to offer";
        return nullptr;
    }
    return line;
}

IceLine::~IceLine()
{
    if (agent_) {
        // The TURN allocation is given back; a moment at most.
        bool closed = false;
        nice_agent_close_async(
            agent_, [](GObject*, GAsyncResult*, gpointer done) { *static_cast<bool*>(done) = true; }, &closed);
        for (int i = 0; i < 200 && !closed; ++i)
            if (!g_main_context_iteration(context_, FALSE)) g_usleep(1000);
        g_object_unref(agent_);
    }
    if (context_) {
        for (int i = 0; i < kMaxRounds && g_main_context_iteration(context_, FALSE); ++i) {}
        g_main_context_unref(context_);
    }
    if (socket_ >= 0) close(socket_);
}

void IceLine::poll(std::uint32_t nowMs, std::string& local)
{
    for (int i = 0; i < kMaxRounds && g_main_context_iteration(context_, FALSE); ++i) {}
    if (gathered_ && !sentLocal_) {
        sentLocal_ = true;
        gchar* sdp = nice_agent_generate_local_sdp(agent_);
        local = sdp ? sdp : "";
        g_free(sdp);
        if (state_ == State::Gathering) state_ = State::Checking;
    }
    forward();
    if ((state_ == State::Gathering || state_ == State::Checking) && nowMs - startMs_ > kIceGiveUpMs)
        fail("No line to the other player within " + std::to_string(kIceGiveUpMs / 1000) +
             " s: ICE found no working path, direct or relayed; try again, or host with --host and a forwarded port");
}

bool IceLine::remote(const std::string& text, std::string& error)
{
    if (hasRemote_) {
        error = "the other player sent their candidates twice";
        return false;
    }
    if (nice_agent_parse_remote_sdp(agent_, text.c_str()) <= 0) {
        error = "the other player's ICE candidates cannot be read";
        return false;
    }
    hasRemote_ = true;
    return true;
}

bool IceLine::relayed() const
{
    NiceCandidate* local = nullptr;
    NiceCandidate* remote = nullptr;
    if (state_ != State::Ready || !nice_agent_get_selected_pair(agent_, stream_, 1, &local, &remote)) return false;
    return local->type == NICE_CANDIDATE_TYPE_RELAYED || remote->type == NICE_CANDIDATE_TYPE_RELAYED;
}

// The game's datagrams out over the chosen path. Joining, ENet's port is
// learnt from the first datagram it sends.
void IceLine::forward()
{
    char bytes[kMaxDatagram];
    for (int i = 0; i < kMaxRounds; ++i) {
        sockaddr_in from{};
        socklen_t size = sizeof from;
        const ssize_t n = recvfrom(socket_, bytes, sizeof bytes, 0, reinterpret_cast<sockaddr*>(&from), &size);
        if (n < 0) return;
        if (from.sin_addr.s_addr != htonl(INADDR_LOOPBACK)) continue;
        if (gamePort_ == 0 && enetPort_ == 0) {
            enetPort_ = ntohs(from.sin_port);
            deliverEarly();
        } else if (gamePort_ == 0) {
            enetPort_ = ntohs(from.sin_port);
        }
        if (state_ == State::Ready) nice_agent_send(agent_, stream_, 1, static_cast<guint>(n), bytes);
    }
}

void IceLine::received(const char* bytes, unsigned size)
{
    const std::uint16_t port = gamePort_ ? gamePort_ : enetPort_;
    // The other side's first datagrams may come before the game here has
    // opened its port: a few are kept for it (else ENet's connect would
    // wait for its own resend, half a second).
    if (port == 0) {
        if (early_.size() < kEarlyDatagrams) early_.emplace_back(bytes, size);
        return;
    }
    const sockaddr_in to = loopback(port);
    sendto(socket_, bytes, size, 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
}

void IceLine::setGamePort(std::uint16_t port)
{
    gamePort_ = port;
    deliverEarly();
}

void IceLine::deliverEarly()
{
    std::vector<std::string> early;
    early.swap(early_);
    for (const std::string& d : early) received(d.data(), static_cast<unsigned>(d.size()));
}

void IceLine::fail(const std::string& why)
{
    if (state_ == State::Failed) return;
    state_ = State::Failed;
    failure_ = why;
}

}  // namespace ib::net
