// The [match], [online] and [play] sections of the controls file: how many
// rounds a match has, how long its rounds' timer runs, the input delay of an
// online fight, and the computer's level last chosen.
//
//   [match]
//   rounds = 3            ; best of, 1 to 9
//   timer = 99            ; seconds, 0 to 99 (0: no timer)
//   [online]
//   delay = 2             ; steps, 0 to 4
//   lobby = HOST[:PORT]   ; the lobby server of the Online key
//   name = Ann            ; the name shown in the lobby, 1 to 24 characters
//   [play]
//   level = 3             ; the computer's level last chosen, 1 to 5
//   p1 = rook             ; the fighters and stage last chosen
//   p2 = quill
//   stage = desert
//
// The controls reader leaves the sections alone; this reads only them, with
// the same reader (content/ini_text.h).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "input/controls_file.h"

namespace ib {

struct MatchSettings {
    std::optional<std::int32_t> rounds;
    std::optional<std::uint32_t> timerSeconds;
    std::optional<int> inputDelay;
    std::optional<std::string> lobby;
    std::optional<std::string> playerName;
    std::optional<int> computerLevel;
    std::optional<std::string> lastFighter[2];
    std::optional<std::string> lastStage;
    std::vector<ControlsProblem> problems;  // each with its line
};

MatchSettings readMatchSettings(std::string_view text);

}  // namespace ib
