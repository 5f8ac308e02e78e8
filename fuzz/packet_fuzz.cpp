// The readers of what another machine sends in an online fight, a
// player's packets and a spectator's line: whatever comes, each answers a
// packet or nothing (with why), and a packet it answers is written again
// as the very same bytes. A choice's names, whatever they hold, are
// checked against the content without a crash, and none that could reach
// a path passes.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "net/choice_check.h"
#include "net/packet.h"
#include "net/watch_packet.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace ib::net;
    const std::span<const std::uint8_t> bytes(data, size);
    auto same = [&](const std::vector<std::uint8_t>& again) {
        if (again.size() != size || !std::equal(again.begin(), again.end(), data)) __builtin_trap();
    };
    if (const std::optional<Packet> p = decodePacket(bytes)) {
        same(encodePacket(*p));
        if (const auto* c = std::get_if<Choice>(&*p)) {
            const ContentLookUp lookUp = [](bool, const std::string& name) -> std::optional<std::uint64_t> {
                if (name.find_first_of("/\\.") != std::string::npos) __builtin_trap();
                return name.size() % 2 ? std::optional<std::uint64_t>(name.size()) : std::nullopt;
            };
            for (const bool fromHost : {false, true})
                if (choiceFault(*c, fromHost, lookUp).empty() && c->fighter.empty()) __builtin_trap();
        }
    }
    std::string why;
    if (const std::optional<WatchPacket> w = decodeWatchPacket(bytes, why))
        same(encodeWatchPacket(*w));
    else if (why.empty())
        __builtin_trap();
    return 0;
}
