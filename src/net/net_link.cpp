#include "net/net_link.h"

#include <enet/enet.h>

#include <algorithm>

namespace ib::net {

namespace {

constexpr std::size_t kChannels = 2;

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

NetLink::NetLink(ENetHost* host, const LineImpairment& line) : host_(host), line_(line), dice_(line.seed) {}

NetLink::~NetLink()
{
    close();
    enet_host_destroy(host_);
}

std::unique_ptr<NetLink> NetLink::host(const std::string& bindAddress, std::uint16_t port,
                                       const LineImpairment& line, std::string& error)
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
    // Room for one peer more than the game needs, so that a third can be
    // told no rather than left unanswered.
    ENetHost* h = enet_host_create(&address, 2, kChannels, 0, 0);
    if (!h) {
        error = "port " + std::to_string(port) + " is in use or cannot be opened";
        return nullptr;
    }
    return std::unique_ptr<NetLink>(new NetLink(h, line));
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
    auto link = std::unique_ptr<NetLink>(new NetLink(h, line));
    if (!enet_host_connect(h, &to, kChannels, 0)) {
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
            if (peer_ && ev.peer != peer_)
                enet_peer_disconnect_now(ev.peer, 0);  // a third player
            else
                peer_ = ev.peer;
            break;
        case ENET_EVENT_TYPE_RECEIVE:
            if (ev.peer == peer_ && ev.channelID < kChannels)
                in.push_back({ev.channelID, std::vector<std::uint8_t>(ev.packet->data,
                                                                      ev.packet->data + ev.packet->dataLength)});
            enet_packet_destroy(ev.packet);
            break;
        case ENET_EVENT_TYPE_DISCONNECT:
            if (ev.peer == peer_) {
                peer_ = nullptr;
                disconnected_ = true;
            }
            break;
        default: break;
        }
    }
    enet_host_flush(host_);
}

void NetLink::close()
{
    if (!peer_) return;
    for (const Held& h : held_) transmit(h.channel, h.bytes);
    held_.clear();
    enet_peer_disconnect_later(peer_, 0);
    enet_host_flush(host_);
    peer_ = nullptr;
}

std::uint16_t NetLink::port() const { return host_->address.port; }

std::uint64_t NetLink::bytesSent() const { return host_->totalSentData; }

}  // namespace ib::net
