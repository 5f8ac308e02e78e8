// inkblot-sim's online modes: --synctest N rolls every step back N steps
// and runs them again; --host PORT and --join 127.0.0.1:PORT play one
// player of an online fight from a script, in real time.
#pragma once

#include <string>
#include <vector>

namespace ib::sim {

// True when the arguments ask for an online mode.
bool wantsNetSim(const std::vector<std::string>& args);
// Runs it; returns the exit status (2 for bad usage).
int runNetSim(const std::vector<std::string>& args);

}  // namespace ib::sim
