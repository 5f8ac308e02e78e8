// The fighters and stage of an online fight: what the two sides agreed on,
// and the check of what the other side chose against this side's content.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "net/packet.h"

namespace ib::net {

// The longest fighter or stage name a side may choose online.
constexpr std::size_t kMaxChoiceName = 32;

// Player 1's (the host's) fighter, player 2's, and the host's stage, with
// the fingerprints of their files both sides found the same.
struct AgreedChoice {
    std::string fighter[2];
    std::string stage;
    std::uint64_t content[3] = {0, 0, 0};  // fighter 1's, fighter 2's, the stage's
    friend bool operator==(const AgreedChoice&, const AgreedChoice&) = default;
};

// This side's content: the fingerprint of the files of the fighter (or,
// with `stage`, the stage) of that name; nothing when there is none or it
// cannot be loaded.
using ContentLookUp = std::function<std::optional<std::uint64_t>(bool stage, const std::string& name)>;

// Why a fighter's or stage's name cannot be one: empty when it can. Names
// are 1 to 32 letters, digits, '-' and '_', so a name never reaches a path.
std::string nameFault(const std::string& name);

// Why the other side's choice cannot be fought with this side's content,
// as both sides are told; empty when it can. `fromHost`: the host's
// (fighter and stage), else the joining player's (fighter only).
std::string choiceFault(const Choice& theirs, bool fromHost, const ContentLookUp& lookUp);

// Why a spectator cannot set up the fight of `agreed` with its content:
// empty when it can.
std::string agreedFault(const AgreedChoice& agreed, const ContentLookUp& lookUp);

}  // namespace ib::net
