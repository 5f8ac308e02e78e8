// What two machines say to each other in an online fight, as bytes: a
// greeting (the game's version, the content's fingerprint and the fight's
// seed), before it each side's choice of fighter (the host's: and stage),
// a refusal saying what differs, a player's inputs of the steps the
// other side has not confirmed, the hash of a confirmed step, and a side's
// fight where the hashes differ. Every packet begins with the magic "IF"
// and the protocol's version.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "net/step_bits.h"

namespace ib::net {

constexpr std::uint8_t kProtocolVersion = 2;
constexpr std::size_t kMaxVersionText = 32;
constexpr std::size_t kMaxRefusalText = 200;
// A packet carries at most this many steps of inputs.
constexpr std::size_t kMaxPacketInputs = 64;

struct Hello {
    std::string gameVersion;
    std::uint64_t content = 0;  // the content's fingerprint
    std::uint32_t seed = 0;     // the fight's start; the host's counts
    friend bool operator==(const Hello&, const Hello&) = default;
};

// What a side chose, each with the fingerprint of its content files: its
// fighter, and from the host the stage (empty from the one who joins).
// Sent before the greeting; a greeting without one comes from a game that
// fights rook v quill on the desert.
struct Choice {
    std::string fighter;
    std::uint64_t fighterContent = 0;
    std::string stage;
    std::uint64_t stageContent = 0;
    friend bool operator==(const Choice&, const Choice&) = default;
};
// Names are read whole up to this length, so that one too long is refused
// by name.
constexpr std::size_t kMaxChoiceText = 255;

struct Refusal {
    std::string reason;
    friend bool operator==(const Refusal&, const Refusal&) = default;
};

struct Inputs {
    std::uint32_t ack = 0;    // steps of the receiver's inputs the sender has
    std::uint32_t step = 0;   // the next step the sender runs
    std::uint32_t first = 0;  // the step of inputs[0]
    std::uint32_t stamp = 0;  // the sender's clock in ms
    std::uint32_t echo = 0;   // the last stamp the sender received
    std::vector<StepBits> inputs;
    friend bool operator==(const Inputs&, const Inputs&) = default;
};

struct StepHash {
    std::uint32_t step = 0;
    std::uint64_t hash = 0;
    friend bool operator==(const StepHash&, const StepHash&) = default;
};

// The fight on the sender's side at a step where the hashes differ, as
// text for the report both sides write.
struct StateText {
    std::uint32_t step = 0;
    std::string text;
    friend bool operator==(const StateText&, const StateText&) = default;
};
constexpr std::size_t kMaxStateText = 1200;

using Packet = std::variant<Hello, Refusal, Inputs, StepHash, StateText, Choice>;

std::vector<std::uint8_t> encodePacket(const Packet& p);
// The packet the bytes hold, or nothing for anything else (another
// protocol version, a short or long packet, a value out of range).
std::optional<Packet> decodePacket(std::span<const std::uint8_t> bytes);

}  // namespace ib::net
