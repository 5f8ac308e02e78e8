#include "net/spectator_feed.h"

#include <enet/enet.h>

#include <algorithm>

#include "content/content_error.h"
#include "net/hex_text.h"
#include "net/net_link.h"
#include "net/net_play.h"

namespace ib::net {

namespace {

constexpr std::size_t kChannels = 2;
// Places at the door beyond the spectators', for those knocking.
constexpr std::size_t kSparePlaces = 4;

}  // namespace

SpectatorFeed::SpectatorFeed(ENetHost* host, const std::string& gameVersion, std::uint64_t content)
    : host_(host), gameVersion_(gameVersion), content_(content)
{
    host_->checksum = enet_crc32;
}

SpectatorFeed::~SpectatorFeed()
{
    close();
    enet_host_destroy(host_);
}

std::unique_ptr<SpectatorFeed> SpectatorFeed::open(const std::string& bindAddress, std::uint16_t port,
                                                   const std::string& gameVersion, std::uint64_t content,
                                                   std::string& error)
{
    ENetHost* h = openEnetHost(bindAddress, port, kMaxSpectators + kSparePlaces, kChannels, error);
    if (!h) {
        error += " (the door for spectators)";
        return nullptr;
    }
    return std::unique_ptr<SpectatorFeed>(new SpectatorFeed(h, gameVersion, content));
}

void SpectatorFeed::close()
{
    for (Watcher& w : watchers_) enet_peer_disconnect_later(w.peer, 0);
    watchers_.clear();
    enet_host_flush(host_);
}

std::uint16_t SpectatorFeed::port() const { return host_->address.port; }

std::uint64_t SpectatorFeed::bytesSent() const { return host_->totalSentData; }

std::size_t SpectatorFeed::greetedCount() const
{
    return static_cast<std::size_t>(std::count_if(watchers_.begin(), watchers_.end(),
                                                  [](const Watcher& w) { return w.greeted && !w.gone; }));
}

std::size_t SpectatorFeed::spectators() const { return greetedCount(); }

bool SpectatorFeed::delivered() const
{
    return std::all_of(watchers_.begin(), watchers_.end(),
                       [](const Watcher& w) { return !w.greeted || (w.ended && w.acked == w.sent); });
}

std::vector<std::string> SpectatorFeed::takeNotes() { return std::exchange(notes_, {}); }

SpectatorFeed::Watcher* SpectatorFeed::find(ENetPeer* peer)
{
    for (Watcher& w : watchers_)
        if (w.peer == peer && !w.gone) return &w;
    return nullptr;
}

void SpectatorFeed::send(Watcher& w, const WatchPacket& p)
{
    const std::vector<std::uint8_t> bytes = encodeWatchPacket(p);
    ENetPacket* packet = enet_packet_create(bytes.data(), bytes.size(), ENET_PACKET_FLAG_RELIABLE);
    if (packet && enet_peer_send(w.peer, kReliableChannel, packet) != 0) enet_packet_destroy(packet);
}

void SpectatorFeed::drop(Watcher& w, const std::string& why)
{
    notes_.push_back("spectator " + std::to_string(w.number) + " dropped: " + why);
    enet_peer_disconnect_now(w.peer, 0);
    w.gone = true;
}

void SpectatorFeed::refuse(Watcher& w, const std::string& why)
{
    notes_.push_back("spectator " + std::to_string(w.number) + " " + why);
    send(w, Refusal{why});
    enet_peer_disconnect_later(w.peer, 0);
    w.gone = true;
}

void SpectatorFeed::receive(Watcher& w, std::span<const std::uint8_t> bytes, std::uint32_t nowMs)
{
    std::string why;
    const std::optional<WatchPacket> p = decodeWatchPacket(bytes, why);
    if (!p) return drop(w, "sent " + why);
    w.heardAt = nowMs;
    if (!w.greeted) {
        if (std::holds_alternative<Hello>(*p))
            return refuse(w, "refused: this port is for spectators; a player joins the fight's own port");
        const auto* hello = std::get_if<WatchHello>(&*p);
        if (!hello) return drop(w, "spoke before greeting");
        if (hello->gameVersion != gameVersion_)
            return refuse(w, "refused: the host's game is version " + printableName(gameVersion_) +
                                 ", the spectator's " + printableName(hello->gameVersion));
        if (hello->content != content_)
            return refuse(w, "refused: the content differs (the host's fingerprint is " + hexText(content_) +
                                 ", the spectator's " + hexText(hello->content) + ")");
        if (greetedCount() >= kMaxSpectators)
            return refuse(w, "refused: the fight already has " + std::to_string(kMaxSpectators) + " spectators");
        w.greeted = true;
        w.movedAt = nowMs;
        notes_.push_back("spectator " + std::to_string(w.number) + " came");
        return;
    }
    if (const auto* ack = std::get_if<WatchAck>(&*p)) {
        if (ack->have > w.sent)
            return drop(w, "acknowledged step " + std::to_string(ack->have) + " of " + std::to_string(w.sent) +
                               " sent");
        if (ack->have > w.acked) {
            w.acked = ack->have;
            w.movedAt = nowMs;
        }
    } else if (!std::holds_alternative<WatchHello>(*p)) {
        drop(w, "sent a packet only the host sends");
    }
}

void SpectatorFeed::feed(Watcher& w, const NetPlay& play, std::uint32_t nowMs)
{
    const RollbackSession* session = play.session();
    if (!w.greeted || !session) return;  // the players have not met yet
    if (play.failed()) return refuse(w, "the fight ended: " + play.status());
    const std::vector<StepBitsPair>& confirmed = play.confirmedInputs();
    const auto have = static_cast<std::uint32_t>(confirmed.size());
    if (!w.started) {
        send(w, WatchStart{play.startClock(), have, play.agreed()});
        w.started = true;
    }
    const bool over = play.finished() || (play.phase() == NetPhase::Over && !play.failed());
    if (!over && have - w.sent < kMaxWatchSteps && nowMs - w.sentAt < kWatchBatchMs) return;
    if (w.sent < have) w.sentAt = nowMs;
    for (int k = 0; k < kWatchPacketsPerUpdate && w.sent < have && w.sent - w.acked < kWatchWindow; ++k) {
        const std::uint32_t n =
            std::min({static_cast<std::uint32_t>(kMaxWatchSteps), have - w.sent, kWatchWindow - (w.sent - w.acked)});
        WatchSteps steps{w.sent, std::vector<StepBitsPair>(confirmed.begin() + w.sent, confirmed.begin() + w.sent + n)};
        send(w, steps);
        w.sent += n;
    }
    if (over && !w.ended && w.sent == have) {
        send(w, WatchEnd{have, have == 0 ? 0 : session->hashAfter(have - 1).value_or(0)});
        w.ended = true;
    }
}

void SpectatorFeed::update(std::uint32_t nowMs, const NetPlay& play)
{
    ENetEvent ev;
    while (enet_host_service(host_, &ev, 0) > 0) {
        switch (ev.type) {
        case ENET_EVENT_TYPE_CONNECT:
            if (ev.data != kLinkVersion) {
                enet_peer_disconnect_now(ev.peer, 0);
            } else {
                Watcher w;
                w.peer = ev.peer;
                w.since = w.heardAt = w.movedAt = nowMs;
                w.number = ++knocks_;
                watchers_.push_back(w);
            }
            break;
        case ENET_EVENT_TYPE_RECEIVE:
            if (Watcher* w = find(ev.peer))
                receive(*w, std::span<const std::uint8_t>(ev.packet->data, ev.packet->dataLength), nowMs);
            enet_packet_destroy(ev.packet);
            break;
        case ENET_EVENT_TYPE_DISCONNECT:
            if (Watcher* w = find(ev.peer)) {
                notes_.push_back("spectator " + std::to_string(w->number) + " left");
                w->gone = true;
            }
            break;
        default: break;
        }
    }
    for (Watcher& w : watchers_) {
        if (w.gone) continue;
        if (!w.greeted && nowMs - w.since > kGreetingMs) {
            drop(w, "did not greet in time");
        } else if (nowMs - w.heardAt > kLostMs) {
            drop(w, "silent for " + std::to_string(kLostMs / 1000) + " s");
        } else if (w.sent > w.acked && nowMs - w.movedAt > kLostMs) {
            drop(w, "took no step for " + std::to_string(kLostMs / 1000) + " s");
        } else {
            if (w.sent == w.acked) w.movedAt = nowMs;
            feed(w, play, nowMs);
        }
    }
    std::erase_if(watchers_, [](const Watcher& w) { return w.gone; });
    enet_host_flush(host_);
}

}  // namespace ib::net
