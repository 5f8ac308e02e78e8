// The machine's steady clock in milliseconds, for the sims that play over
// real sockets (the fight itself never reads it).
#pragma once

#include <chrono>
#include <cstdint>

namespace ib::sim {

inline std::uint32_t wallMs()
{
    using namespace std::chrono;
    return static_cast<std::uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

}  // namespace ib::sim
