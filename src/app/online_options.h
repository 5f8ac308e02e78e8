// The game's online options: --host [PORT], --join HOST[:PORT], --delay N.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ib {

struct OnlineOptions {
    bool host = false;
    bool join = false;
    std::string address;         // the host to join
    std::uint16_t port = 7150;
    int delay = 2;               // input delay in steps, 0 to 4
    bool delayGiven = false;     // --delay was given (it wins over the controls file)
    bool online() const { return host || join; }
};

// Takes the online options out of args (the arguments after the program's
// name), leaving the others in their order. Returns what is wrong with
// them, or an empty text.
std::string takeOnlineOptions(std::vector<std::string>& args, OnlineOptions& out);

}  // namespace ib
