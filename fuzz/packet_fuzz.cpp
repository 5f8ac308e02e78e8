// The reader of what another machine sends in an online fight: whatever
// comes, it answers a packet or nothing, and a packet it answers is
// written again as the very same bytes.
#include <cstddef>
#include <cstdint>
#include <span>

#include "net/packet.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace ib::net;
    const std::span<const std::uint8_t> bytes(data, size);
    const std::optional<Packet> p = decodePacket(bytes);
    if (!p) return 0;
    const std::vector<std::uint8_t> again = encodePacket(*p);
    if (again.size() != size || !std::equal(again.begin(), again.end(), data)) __builtin_trap();
    return 0;
}
