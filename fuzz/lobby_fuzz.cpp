// What the game reads from the lobby: another player's state, the messages
// players send each other, and the STUN and TURN servers the lobby server
// lists. The first byte picks the reader; whatever comes, a state or a
// message it takes is written again as the very same text, and what it
// refuses has a message.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "net/lobby_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace ib::net;
    if (size == 0) return 0;
    const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
    std::string error;
    switch (data[0] % 3) {
    case 0:
        if (const auto m = decodeMessage(text, error)) {
            if (encodeMessage(*m) != text) __builtin_trap();
        } else if (error.empty()) {
            __builtin_trap();
        }
        break;
    case 1:
        if (const auto p = decodePresence(text, error)) {
            if (encodePresence(*p) != text) __builtin_trap();
        } else if (error.empty()) {
            __builtin_trap();
        }
        break;
    default: {
        // Six attributes, each ended by a NUL; a missing one is absent.
        std::vector<std::string> fields;
        std::size_t at = 0;
        for (std::size_t end; fields.size() < 6 && (end = text.find('\0', at)) != std::string::npos; at = end + 1)
            fields.push_back(text.substr(at, end - at));
        auto field = [&](std::size_t i) { return i < fields.size() ? fields[i].c_str() : nullptr; };
        const auto s = decodeService(field(0), field(1), field(2), field(3), field(4), field(5), error);
        if (s && (s->port == 0 || s->host.empty() || (s->turn && s->password.empty()))) __builtin_trap();
        break;
    }
    }
    return 0;
}
