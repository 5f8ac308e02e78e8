#include "net/watch_packet.h"

#include <algorithm>

#include "net/byte_io.h"

namespace ib::net {

namespace {

// Clear of the players' kinds.
enum Kind : std::uint8_t { kWatchHello = 32, kWatchStart = 33, kWatchSteps = 34, kWatchAck = 35, kWatchEnd = 36 };
constexpr std::uint8_t kRefusalKind = 2, kHelloKind = 1;

}  // namespace

std::vector<std::uint8_t> encodeWatchPacket(const WatchPacket& p)
{
    if (const auto* r = std::get_if<Refusal>(&p)) return encodePacket(*r);
    if (const auto* h = std::get_if<Hello>(&p)) return encodePacket(*h);
    Writer w;
    w.u8('I');
    w.u8('F');
    w.u8(kProtocolVersion);
    if (const auto* h = std::get_if<WatchHello>(&p)) {
        w.u8(kWatchHello);
        w.text(h->gameVersion, kMaxVersionText);
        w.u64(h->content);
    } else if (const auto* s = std::get_if<WatchStart>(&p)) {
        w.u8(kWatchStart);
        w.u32(s->startClock);
        w.u32(s->steps);
        w.u8(s->fight.has_value());
        if (const auto& f = s->fight) {
            for (const std::string* name : {&f->fighter[0], &f->fighter[1], &f->stage}) w.text(*name, kMaxChoiceText);
            for (const std::uint64_t c : f->content) w.u64(c);
        }
    } else if (const auto* st = std::get_if<WatchSteps>(&p)) {
        w.u8(kWatchSteps);
        w.u32(st->first);
        const std::size_t n = std::min(st->inputs.size(), kMaxWatchSteps);
        w.u8(static_cast<std::uint8_t>(n));
        for (std::size_t i = 0; i < n; ++i) {
            w.u8(st->inputs[i][0] & kAllButtons);
            w.u8(st->inputs[i][1] & kAllButtons);
        }
    } else if (const auto* a = std::get_if<WatchAck>(&p)) {
        w.u8(kWatchAck);
        w.u32(a->have);
    } else if (const auto* e = std::get_if<WatchEnd>(&p)) {
        w.u8(kWatchEnd);
        w.u32(e->steps);
        w.u64(e->hash);
    }
    return std::move(w.out);
}

std::optional<WatchPacket> decodeWatchPacket(std::span<const std::uint8_t> bytes, std::string& why)
{
    Reader r(bytes);
    std::uint8_t m1 = 0, m2 = 0, version = 0, kind = 0;
    if (!r.u8(m1) || !r.u8(m2) || !r.u8(version) || !r.u8(kind) || m1 != 'I' || m2 != 'F') {
        why = "not a packet of this game (" + std::to_string(bytes.size()) + " bytes)";
        return std::nullopt;
    }
    if (version != kProtocolVersion) {
        why = "protocol version " + std::to_string(version) + ", not " + std::to_string(kProtocolVersion);
        return std::nullopt;
    }
    const std::string kindText = "a packet of kind " + std::to_string(kind);
    if (kind == kRefusalKind || kind == kHelloKind) {
        std::optional<Packet> p = decodePacket(bytes);
        if (p && std::holds_alternative<Refusal>(*p)) return std::get<Refusal>(*p);
        if (p && std::holds_alternative<Hello>(*p)) return std::get<Hello>(*p);
        why = kindText + " that cannot be read";
        return std::nullopt;
    }
    WatchPacket p;
    bool ok = false;
    switch (kind) {
    case kWatchHello: {
        WatchHello h;
        ok = r.text(h.gameVersion, kMaxVersionText) && r.u64(h.content);
        p = std::move(h);
        break;
    }
    case kWatchStart: {
        WatchStart s;
        std::uint8_t chosen = 0;
        ok = r.u32(s.startClock) && r.u32(s.steps) && r.u8(chosen) && chosen <= 1;
        if (ok && chosen) {
            AgreedChoice f;
            for (std::string* name : {&f.fighter[0], &f.fighter[1], &f.stage}) ok = ok && r.text(*name, kMaxChoiceText);
            for (std::uint64_t& c : f.content) ok = ok && r.u64(c);
            s.fight = std::move(f);
        }
        p = std::move(s);
        break;
    }
    case kWatchSteps: {
        WatchSteps s;
        std::uint8_t n = 0;
        ok = r.u32(s.first) && r.u8(n) && n > 0 && n <= kMaxWatchSteps;
        if (ok) s.inputs.resize(n);
        for (std::size_t i = 0; ok && i < s.inputs.size(); ++i)
            ok = r.u8(s.inputs[i][0]) && r.u8(s.inputs[i][1]) &&
                 ((s.inputs[i][0] | s.inputs[i][1]) & ~kAllButtons) == 0;
        p = std::move(s);
        break;
    }
    case kWatchAck: {
        WatchAck a;
        ok = r.u32(a.have);
        p = a;
        break;
    }
    case kWatchEnd: {
        WatchEnd e;
        ok = r.u32(e.steps) && r.u64(e.hash);
        p = e;
        break;
    }
    default: why = kindText + ", which a spectator's line does not carry"; return std::nullopt;
    }
    if (!ok || !r.done()) {
        why = kindText + " that is cut short, too long or holds a value out of range";
        return std::nullopt;
    }
    return p;
}

}  // namespace ib::net
