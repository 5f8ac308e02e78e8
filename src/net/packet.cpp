#include "net/packet.h"

#include "net/byte_io.h"

namespace ib::net {

namespace {

enum Kind : std::uint8_t { kHello = 1, kRefusal = 2, kInputs = 3, kHash = 4, kState = 5, kChoice = 16 };

}  // namespace

std::vector<std::uint8_t> encodePacket(const Packet& p)
{
    Writer w;
    w.u8('I');
    w.u8('F');
    w.u8(kProtocolVersion);
    if (const auto* h = std::get_if<Hello>(&p)) {
        w.u8(kHello);
        w.text(h->gameVersion, kMaxVersionText);
        w.u64(h->content);
        w.u32(h->seed);
    } else if (const auto* r = std::get_if<Refusal>(&p)) {
        w.u8(kRefusal);
        w.text(r->reason, kMaxRefusalText);
    } else if (const auto* in = std::get_if<Inputs>(&p)) {
        w.u8(kInputs);
        w.u32(in->ack);
        w.u32(in->step);
        w.u32(in->first);
        w.u32(in->stamp);
        w.u32(in->echo);
        const std::size_t n = in->inputs.size() < kMaxPacketInputs ? in->inputs.size() : kMaxPacketInputs;
        w.u8(static_cast<std::uint8_t>(n));
        for (std::size_t i = 0; i < n; ++i) w.u8(in->inputs[i] & kAllButtons);
    } else if (const auto* s = std::get_if<StepHash>(&p)) {
        w.u8(kHash);
        w.u32(s->step);
        w.u64(s->hash);
    } else if (const auto* t = std::get_if<StateText>(&p)) {
        w.u8(kState);
        w.u32(t->step);
        w.text(t->text, kMaxStateText);
    } else if (const auto* c = std::get_if<Choice>(&p)) {
        w.u8(kChoice);
        w.text(c->fighter, kMaxChoiceText);
        w.u64(c->fighterContent);
        w.text(c->stage, kMaxChoiceText);
        w.u64(c->stageContent);
    }
    return std::move(w.out);
}

std::optional<Packet> decodePacket(std::span<const std::uint8_t> bytes)
{
    Reader r(bytes);
    std::uint8_t m1 = 0, m2 = 0, version = 0, kind = 0;
    if (!r.u8(m1) || !r.u8(m2) || !r.u8(version) || !r.u8(kind)) return std::nullopt;
    if (m1 != 'I' || m2 != 'F' || version != kProtocolVersion) return std::nullopt;
    Packet p;
    switch (kind) {
    case kHello: {
        Hello h;
        if (!r.text(h.gameVersion, kMaxVersionText) || !r.u64(h.content) || !r.u32(h.seed)) return std::nullopt;
        p = std::move(h);
        break;
    }
    case kRefusal: {
        Refusal f;
        if (!r.text(f.reason, kMaxRefusalText)) return std::nullopt;
        p = std::move(f);
        break;
    }
    case kInputs: {
        Inputs in;
        std::uint8_t n = 0;
        if (!r.u32(in.ack) || !r.u32(in.step) || !r.u32(in.first) || !r.u32(in.stamp) ||
            !r.u32(in.echo) || !r.u8(n) || n == 0 ||
            n > kMaxPacketInputs)
            return std::nullopt;
        in.inputs.resize(n);
        for (StepBits& b : in.inputs)
            if (!r.u8(b) || (b & ~kAllButtons) != 0) return std::nullopt;
        p = std::move(in);
        break;
    }
    case kHash: {
        StepHash s;
        if (!r.u32(s.step) || !r.u64(s.hash)) return std::nullopt;
        p = s;
        break;
    }
    case kState: {
        StateText t;
        if (!r.u32(t.step) || !r.text(t.text, kMaxStateText)) return std::nullopt;
        p = std::move(t);
        break;
    }
    case kChoice: {
        Choice c;
        if (!r.text(c.fighter, kMaxChoiceText) || !r.u64(c.fighterContent) || !r.text(c.stage, kMaxChoiceText) ||
            !r.u64(c.stageContent))
            return std::nullopt;
        p = std::move(c);
        break;
    }
    default: return std::nullopt;
    }
    if (!r.done()) return std::nullopt;
    return p;
}

}  // namespace ib::net
