// A session of the game with the replay options of both programs:
// --record FILE writes a replay of it, --replay FILE plays one back.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "input/replay_file.h"
#include "platform/platform.h"

namespace ib {

struct Game;

struct ReplayOptions {
    std::string recordPath;
    std::string replayPath;
};

// Takes "--record FILE" and "--replay FILE" out of args (the arguments
// after the program's name), leaving the others in their order. Returns
// what is wrong with them, or an empty text.
std::string takeReplayOptions(std::vector<std::string>& args, ReplayOptions& out);

// Reads a replay file; on failure `error` names the file and the line.
std::optional<Replay> loadReplayFile(const std::string& path, std::string& error);

// Runs the game on `machine` with the game arguments `args`: as it is,
// recording, or playing a replay back (with the replay's own arguments;
// paced, at the pace it was recorded). `prepare` is called with the game
// before it runs. Messages begin with `who`. Returns the exit status:
// the game's, or kExitReplayError.
int runSession(Platform& machine, const std::vector<std::string>& args, const ReplayOptions& opts,
               bool paced, const char* who, const std::function<void(Game&)>& prepare = {});

}  // namespace ib
