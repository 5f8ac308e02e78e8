// One JSON object per pass, describing the game after that pass.
#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>

namespace ib {
struct Game;
}

namespace ib::sim {

nlohmann::ordered_json traceLine(const Game& game, long long pass, std::uint32_t clock);

}  // namespace ib::sim
