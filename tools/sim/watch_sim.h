// inkblot-sim --watch 127.0.0.1:PORT: watches an online fight from the
// host's door for spectators, in real time, and says the fight's last
// hash; --spectators PORT on the host opens that door (spectator_door.h).
#pragma once

#include <string>
#include <vector>

namespace ib::sim {

bool wantsWatchSim(const std::vector<std::string>& args);
// Returns the exit status (2 for bad usage).
int runWatchSim(const std::vector<std::string>& args);

}  // namespace ib::sim
