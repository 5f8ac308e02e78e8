#include "app/replay_session.h"

#include <cstdio>
#include <fstream>

#include "app/game.h"
#include "app/replay_platform.h"
#include "app/recording_platform.h"

namespace ib {

namespace {

void readArgumentList(Game& game, const std::vector<std::string>& args)
{
    std::vector<const char*> argv{"inkblot-fighter"};
    for (const std::string& a : args) argv.push_back(a.c_str());
    readArguments(game, static_cast<int>(argv.size()), argv.data());
}

int playBack(Platform& machine, const ReplayOptions& opts, bool paced, const char* who,
             const std::function<void(Game&)>& prepare)
{
    std::string error;
    const std::optional<Replay> replay = loadReplayFile(opts.replayPath, error);
    if (!replay) {
        std::fprintf(stderr, "%s: %s\n", who, error.c_str());
        return kExitReplayError;
    }
    ReplayPlatform playback(machine, *replay, paced);
    Game game(playback);
    playback.watch(game);
    game.controllers.controlsFixed = true;
    readArgumentList(game, replay->header.args);
    if (prepare) prepare(game);
    const int status = runGame(game);
    if (playback.outcome() == ReplayPlatform::Outcome::Stopped)
        std::fprintf(stderr, "%s: %s: playback stopped at pass %u of %u\n", who, opts.replayPath.c_str(),
                     static_cast<unsigned>(playback.passesPlayed()), static_cast<unsigned>(replay->passes));
    if (const std::string problem = playback.problem(); !problem.empty()) {
        std::fprintf(stderr, "%s: %s: %s\n", who, opts.replayPath.c_str(), problem.c_str());
        return kExitReplayError;
    }
    return status;
}

}  // namespace

std::string takeReplayOptions(std::vector<std::string>& args, ReplayOptions& out)
{
    std::vector<std::string> rest;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const bool record = args[i] == "--record";
        if (!record && args[i] != "--replay") {
            rest.push_back(args[i]);
            continue;
        }
        if (i + 1 >= args.size() || args[i + 1].empty()) return args[i] + " needs a file";
        (record ? out.recordPath : out.replayPath) = args[++i];
    }
    if (!out.recordPath.empty() && !out.replayPath.empty())
        return "--record and --replay cannot be used together";
    args = std::move(rest);
    return {};
}

std::optional<Replay> loadReplayFile(const std::string& path, std::string& error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot read replay " + path;
        return std::nullopt;
    }
    // Read in pieces, and one byte past the limit at most: enough to know
    // the file is too large.
    std::string text;
    char piece[65536];
    while (text.size() <= kReplayMaxBytes && in.read(piece, sizeof piece).gcount() > 0)
        text.append(piece, static_cast<std::size_t>(in.gcount()));
    if (text.size() > kReplayMaxBytes) text.resize(kReplayMaxBytes + 1);
    ReplayRead read = parseReplay(text);
    if (!read.error.empty()) {
        error = path + ": " + read.error;
        return std::nullopt;
    }
    return std::move(read.replay);
}

int runSession(Platform& machine, const std::vector<std::string>& args, const ReplayOptions& opts,
               bool paced, const char* who, const std::function<void(Game&)>& prepare)
{
    if (!opts.replayPath.empty()) return playBack(machine, opts, paced, who, prepare);
    if (opts.recordPath.empty()) {
        Game game(machine);
        readArgumentList(game, args);
        if (prepare) prepare(game);
        return runGame(game);
    }
    std::ofstream out(opts.recordPath, std::ios::binary | std::ios::trunc);
    if (!out) {
        std::fprintf(stderr, "%s: cannot write replay %s\n", who, opts.recordPath.c_str());
        return kExitReplayError;
    }
    // The game plays on a platform that records what it takes.
    RecordingPlatform recording(machine, out);
    Game game(recording);
    recording.watch(game);
    readArgumentList(game, args);
    if (prepare) prepare(game);
    const int status = runGame(game);
    recording.finish();
    if (!out) {
        std::fprintf(stderr, "%s: the replay %s could not be written whole\n", who, opts.recordPath.c_str());
        return kExitReplayError;
    }
    return status;
}

}  // namespace ib
