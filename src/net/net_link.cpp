#include "net/net_link.h"

#include <enet/enet.h>

#include <algorithm>

namespace ib::net {

namespace {

constexpr std::size_t kChannels = 2;
// The host keeps at least this many places free for the player to knock.
constexpr std::size_t kFreePlaces = 2;

bool startEnet()
{
    static const bool ok = [] {
        if (enet_initialize() != 0) return false;
        std::atexit(enet_deinitialize);
        return true;
    }();
    return ok;
}

}  // namespace

_ENetHost* openEnetHost(const std::string& bindAddress, std::uint16_t port, std::size_t peers,
                        std::size_t channels, std::string& error)
{
    if (!startEnet()) {
        error = "the network could not be started";
        return nullptr;
    }
    ENetAddress address{};
    address.host = ENET_HOST_ANY;
    address.port = port;
    if (!bindAddress.empty() && enet_address_set_host_ip(&address, bindAddress.c_str()) != 0) {
        error = "no such address " + bindAddress;
        return nullptr;
    }
    ENetHost* h = enet_host_create(&address, peers, channels, 0, 0);
    if (!h) error = "port " + std::to_string(port) + " is in use or cannot be opened";
    return h;
}

namespace {

// ENet slows a peer's sending when the round trip grows; for a fight's
// inputs that turns a slow line into a stalled one.
void holdThrottleOpen(ENetPeer* peer)
{
    enet_peer_throttle_configure(peer, ENET_PEER_PACKET_THROTTLE_INTERVAL, ENET_PEER_PACKET_THROTTLE_SCALE, 0);
    peer->packetThrottle = ENET_PEER_PACKET_THROTTLE_SCALE;
}

}  // namespace

NetLink::NetLink(ENetHost* host, const LineImpairment& line, bool hosting)
    : host_(host), hosting_(hosting), seenAt_(host->peerCount, 0), line_(line), dice_(line.seed)
{
    host_->checksum = enet_crc32;
}

NetLink::~NetLink()
{
    close();
    enet_host_destroy(host_);
}

std::unique_ptr<NetLink> NetLink::host(const std::string& bindAddress, std::uint16_t port,
                                       const LineImpairment& line, std::string& error)
{
    ENetHost* h = openEnetHost(bindAddress, port, kHostPeers, kChannels, error);
    if (!h) return nullptr;
    return std::unique_ptr<NetLink>(new NetLink(h, line, true));
}

std::unique_ptr<NetLink> NetLink::join(const std::string& address, std::uint16_t port,
                                       const LineImpairment& line, std::string& error)
{
    if (!startEnet()) {
        error = "the network could not be started";
        return nullptr;
    }
    ENetAddress to{};
    if (enet_address_set_host(&to, address.c_str()) != 0) {
        error = "no address for " + address;
        return nullptr;
    }
    to.port = port;
    ENetHost* h = enet_host_create(nullptr, 1, kChannels, 0, 0);
    if (!h) {
        error = "the network could not be opened";
        return nullptr;
    }
    auto link = std::unique_ptr<NetLink>(new NetLink(h, line, false));
    link->knocked_ = enet_host_connect(h, &to, kChannels, kLinkVersion);
    if (!link->knocked_) {
        error = "cannot connect to " + address;
        return nullptr;
    }
    return link;
}

void NetLink::transmit(std::uint8_t channel, const std::vector<std::uint8_t>& bytes)
{
    if (!peer_) return;
    const enet_uint32 flags = channel == kReliableChannel ? ENET_PACKET_FLAG_RELIABLE : 0;
    ENetPacket* p = enet_packet_create(bytes.data(), bytes.size(), flags);
    if (p && enet_peer_send(peer_, channel, p) != 0) enet_packet_destroy(p);
}

void NetLink::send(std::uint8_t channel, std::vector<std::uint8_t> bytes, std::uint32_t nowMs)
{
    if (!line_.on) {
        transmit(channel, bytes);
        return;
    }
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    // Only the inputs are lost: the reliable channel would send them again.
    if (channel == kInputChannel && unit(dice_) < line_.loss) return;
    const double jitter = line_.jitterMs * (2 * unit(dice_) - 1);
    const double delay = std::max(0.0, line_.rttMs / 2.0 + jitter);
    held_.push_back({nowMs + static_cast<std::uint32_t>(delay), channel, std::move(bytes)});
}

void NetLink::drop(ENetPeer* peer)
{
    seenAt_[static_cast<std::size_t>(peer - host_->peers)] = 0;
    enet_peer_disconnect_now(peer, 0);
    ++strangersDropped_;
}

bool NetLink::accept(std::size_t stranger)
{
    if (!hosting_ || peer_ || stranger >= host_->peerCount) return false;
    ENetPeer* p = &host_->peers[stranger];
    if (p->state != ENET_PEER_STATE_CONNECTED) return false;
    peer_ = p;
    holdThrottleOpen(peer_);
    // Whoever else is at the door now is a third machine.
    for (std::size_t i = 0; i < host_->peerCount; ++i)
        if (&host_->peers[i] != peer_ && host_->peers[i].state != ENET_PEER_STATE_DISCONNECTED)
            drop(&host_->peers[i]);
    return true;
}

void NetLink::watchStrangers(std::uint32_t nowMs)
{
    std::size_t free = 0;
    ENetPeer* oldest = nullptr;
    for (std::size_t i = 0; i < host_->peerCount; ++i) {
        ENetPeer* p = &host_->peers[i];
        if (p == peer_ || p->state == ENET_PEER_STATE_DISCONNECTED) {
            seenAt_[i] = 0;
            if (p != peer_) ++free;
            continue;
        }
        if (seenAt_[i] == 0) seenAt_[i] = nowMs | 1;
        if (static_cast<std::int32_t>(nowMs - seenAt_[i]) > static_cast<std::int32_t>(kGreetingMs)) {
            drop(p);  // knocked, even half way, and said nothing in time
            ++free;
        } else if (!oldest || static_cast<std::int32_t>(seenAt_[i] - seenAt_[oldest - host_->peers]) < 0) {
            oldest = p;
        }
    }
    // A crowd at the door never fills it: the longest waiting goes first.
    if (free < kFreePlaces && oldest) drop(oldest);
}

void NetLink::poll(std::uint32_t nowMs, std::vector<Received>& in)
{
    for (auto it = held_.begin(); it != held_.end();) {
        if (static_cast<std::int32_t>(nowMs - it->due) >= 0) {
            // Jitter may send them in another order, as a real line does.
            transmit(it->channel, it->bytes);
            it = held_.erase(it);
        } else {
            ++it;
        }
    }
    ENetEvent ev;
    while (enet_host_service(host_, &ev, 0) > 0) {
        switch (ev.type) {
        case ENET_EVENT_TYPE_CONNECT:
            if (!hosting_) {
                if (ev.peer == knocked_) {
                    peer_ = ev.peer;
                    holdThrottleOpen(peer_);
                }
            } else if (peer_ || ev.data != kLinkVersion) {
                drop(ev.peer);  // a third machine, or one that speaks otherwise
            }
            break;
        case ENET_EVENT_TYPE_RECEIVE:
            if (ev.channelID < kChannels) {
                Received r{ev.channelID,
                           std::vector<std::uint8_t>(ev.packet->data, ev.packet->data + ev.packet->dataLength)};
                if (ev.peer == peer_) {
                    r.fromPlayer = true;
                    in.push_back(std::move(r));
                } else if (hosting_ && !peer_) {
                    r.stranger = static_cast<std::size_t>(ev.peer - host_->peers);
                    in.push_back(std::move(r));
                }
            }
            enet_packet_destroy(ev.packet);
            break;
        case ENET_EVENT_TYPE_DISCONNECT:
            if (ev.peer == peer_ || (!hosting_ && ev.peer == knocked_)) {
                peer_ = nullptr;
                knocked_ = nullptr;
                disconnected_ = true;
            }
            break;
        default: break;
        }
    }
    if (hosting_) watchStrangers(nowMs);
    enet_host_flush(host_);
}

void NetLink::close()
{
    if (!peer_) {
        held_.clear();
        return;
    }
    for (const Held& h : held_) transmit(h.channel, h.bytes);
    held_.clear();
    enet_peer_disconnect_later(peer_, 0);
    enet_host_flush(host_);
    peer_ = nullptr;
}

std::uint16_t NetLink::port() const { return host_->address.port; }

std::uint64_t NetLink::bytesSent() const { return host_->totalSentData; }

}  // namespace ib::net
