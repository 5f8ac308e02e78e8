// The [match] section of the controls file: how many rounds a match has
// and how long its rounds' timer runs.
//
//   [match]
//   rounds = 3            ; best of, 1 to 9
//   timer = 99            ; seconds, 0 to 99 (0: no timer)
//
// The controls reader leaves the section alone; this reads only it.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "input/controls_file.h"

namespace ib {

struct MatchSettings {
    std::optional<std::int32_t> rounds;
    std::optional<std::uint32_t> timerSeconds;
    std::vector<ControlsProblem> problems;  // each with its line
};

MatchSettings readMatchSettings(std::string_view text);

}  // namespace ib
