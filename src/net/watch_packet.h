// What a spectator and the host of a fight say to each other: the
// spectator's greeting, the fight's start, the confirmed inputs of both
// players step after step, the spectator's acknowledgement of the steps it
// has, and the fight's end with the hash of its last step. The host may
// also refuse a spectator (Refusal). Same magic and protocol version as
// the players' packets, kinds of their own.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "net/choice_check.h"
#include "net/packet.h"
#include "net/step_bits.h"

namespace ib::net {

// A packet carries at most this many steps of both players' inputs.
constexpr std::size_t kMaxWatchSteps = 120;

struct WatchHello {
    std::string gameVersion;
    std::uint64_t content = 0;  // the content's fingerprint
    friend bool operator==(const WatchHello&, const WatchHello&) = default;
};

struct WatchStart {
    std::uint32_t startClock = 0;  // the clock the fight's steps count from
    std::uint32_t steps = 0;  // steps confirmed when the spectator came
    // The fighters and stage the players chose; none: rook v quill on the
    // desert.
    std::optional<AgreedChoice> fight;
    friend bool operator==(const WatchStart&, const WatchStart&) = default;
};

struct WatchSteps {
    std::uint32_t first = 0;  // the step of inputs[0]
    std::vector<StepBitsPair> inputs;
    friend bool operator==(const WatchSteps&, const WatchSteps&) = default;
};

struct WatchAck {
    std::uint32_t have = 0;  // steps the spectator has received
    friend bool operator==(const WatchAck&, const WatchAck&) = default;
};

struct WatchEnd {
    std::uint32_t steps = 0;
    std::uint64_t hash = 0;  // of the fight after its last step
    friend bool operator==(const WatchEnd&, const WatchEnd&) = default;
};

using WatchPacket = std::variant<WatchHello, WatchStart, WatchSteps, WatchAck, WatchEnd, Refusal, Hello>;

std::vector<std::uint8_t> encodeWatchPacket(const WatchPacket& p);
// The packet the bytes hold, or nothing with `why` saying what is wrong
// with them.
std::optional<WatchPacket> decodeWatchPacket(std::span<const std::uint8_t> bytes, std::string& why);

}  // namespace ib::net
