// inkblot-sim: the whole game with no window, driven by a script on a
// virtual clock, writing a per-pass trace and screenshots.
#pragma once

#include <string>
#include <vector>

namespace ib::sim {

// args are the command-line arguments after the program's name. Returns the
// exit status: the game's own, 0 after --passes passes, 2 for bad usage or a
// malformed script.
int runSim(const std::vector<std::string>& args);

}  // namespace ib::sim
