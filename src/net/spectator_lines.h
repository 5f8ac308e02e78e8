// The host's lines to the spectators the lobby let in: each one a line
// (ICE) of its own, ending at the door for spectators on 127.0.0.1, its
// candidates swapped as texts through the lobby.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "net/ice_line.h"
#include "net/lobby.h"

namespace ib::net {

class SpectatorLines {
public:
    // Keeps what the lobby said of a spectator (let in, a text for its
    // line, gone); false for any other event.
    bool take(const LobbyEvent& e);
    // Starts, feeds and polls the lines, each to `doorPort`; `notes` get
    // what happened ("line to NAME up, direct", ...).
    void tend(Lobby& lobby, std::uint16_t doorPort, const IceOptions& ice, std::uint32_t nowMs,
              std::vector<std::string>& notes);
    std::size_t lines() const { return lines_.size(); }

private:
    struct Line {
        std::string name;
        std::unique_ptr<IceLine> line;
        bool up = false;
    };
    std::vector<LobbyEvent> events_;
    std::vector<Line> lines_;
};

}  // namespace ib::net
