#include "sim/watch_sim.h"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <thread>

#include "app/data_folder.h"
#include "app/display.h"
#include "app/game.h"
#include "app/online_choice.h"
#include "app/replay_recorder.h"
#include "content/whole_number.h"
#include "net/online_replay.h"
#include "net/watch_session.h"
#include "platform/headless_platform.h"
#include "sim/lobby_sim.h"
#include "sim/wall_clock.h"

namespace ib::sim {

namespace {

const char* const kWatchUsage =
    "usage: inkblot-sim [--data DIR] --watch 127.0.0.1:PORT [--record FILE] [--progress MS]\n"
    "       inkblot-sim [--data DIR] --lobby ADDRESS[:PORT] --match watch:CODE [--name NAME] [--ice-address IP]\n"
    "                   [--ice-relay-only yes|no] [--record FILE] [--progress MS]\n"
    "PORT is the host's port for spectators (its --spectators).\n";

int usage(const std::string& why)
{
    std::fprintf(stderr, "inkblot-sim: %s\n%s", why.c_str(), kWatchUsage);
    return 2;
}

struct WatchOptions {
    std::string dataDir;
    net::WatchConfig config;
    std::string recordPath;
    std::uint32_t progressMs = 0;
    LobbySimOptions lobby;
};

int parseWatchOptions(const std::vector<std::string>& args, WatchOptions& o)
{
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (i + 1 >= args.size()) return usage(a + " needs a value");
        const std::string& v = args[++i];
        if (a == "--data") {
            o.dataDir = v;
        } else if (a == "--watch") {
            const auto colon = v.rfind(':');
            const auto port = colon == std::string::npos ? std::nullopt : wholeNumber<std::uint16_t>(v.substr(colon + 1));
            if (!port || *port == 0) return usage("--watch takes HOST:PORT");
            o.config.address = v.substr(0, colon);
            o.config.port = *port;
            // inkblot-sim plays on this machine only.
            if (o.config.address != "127.0.0.1") return usage("inkblot-sim watches 127.0.0.1 only");
        } else if (a == "--record") {
            o.recordPath = v;
        } else if (a == "--progress") {
            auto n = wholeNumber<std::uint32_t>(v);
            if (!n || *n == 0) return usage("--progress takes a number of milliseconds");
            o.progressMs = *n;
        } else if (std::string wrong; takeLobbyOption(a, v, o.lobby, wrong)) {
            if (!wrong.empty()) return usage(wrong);
        } else {
            return usage("unknown option " + a);
        }
    }
    return -1;
}

}  // namespace

bool wantsWatchSim(const std::vector<std::string>& args)
{
    for (const std::string& a : args)
        if (a == "--watch" || a.rfind("watch:", 0) == 0) return true;
    return false;
}

int runWatchSim(const std::vector<std::string>& args)
{
    WatchOptions o;
    if (int status = parseWatchOptions(args, o); status >= 0) return status;
    if (o.lobby.watchCode.empty() == o.config.address.empty())
        return usage("watch either a host's door (--watch) or a room's fight (--lobby with --match watch:CODE)");
    HeadlessPlatform platform{1000, 16};
    Game game{platform};
    useDataFolder(game.content.contentFiles, o.dataDir);
    if (initDisplay(game) != DD_OK || !game.fight.fighter1 || !game.fight.fighter2) return 1;
    const ReplayHeader startHeader = replayHeaderOf(game);
    o.config.gameVersion = startHeader.gameVersion;
    o.config.content = game.content.contentFiles.startFingerprint();
    o.config.lookUp = onlineContentLookUp(game);
    o.config.makeFight = onlineFightMaker(game);
    std::unique_ptr<LobbyMeeting> meeting;
    if (!o.lobby.watchCode.empty()) {
        std::string error;
        meeting = meetThroughLobby(o.lobby, error);
        if (!meeting) {
            std::printf("lobby: %s\n", error.c_str());
            return 1;
        }
        // The line's end on 127.0.0.1 leads to the host's door.
        o.config.address = "127.0.0.1";
        o.config.port = meeting->line->bridgePort();
    }
    net::WatchSession watch(o.config, game.fight, fightRules(game));
    if (!watch.open()) {
        std::printf("watch: %s\n", watch.status().c_str());
        return 1;
    }
    // Bounded: an hour of fight, or a minute without a start.
    const std::uint32_t began = wallMs();
    std::uint32_t progressAt = 0;
    bool joinSaid = false;
    std::int64_t behindSum = 0, behindCount = 0;
    while (watch.phase() != net::WatchPhase::Over) {
        const std::uint32_t now = wallMs();
        if (now - began > (watch.joinedAt() < 0 ? 60000u : 3600000u)) {
            std::printf("watch: gave up after %u ms\n", now - began);
            return 1;
        }
        if (meeting) keepUp(*meeting, now);
        watch.update(now);
        if (!joinSaid && watch.joinedAt() >= 0) {
            joinSaid = true;
            std::printf("watch: joined at step %lld\n", static_cast<long long>(watch.joinedAt()));
        }
        if (watch.phase() == net::WatchPhase::Watching && watch.stepsRun() > watch.joinedAt()) {
            behindSum += watch.stepsReceived() - watch.stepsRun();
            ++behindCount;
        }
        if (o.progressMs && now - progressAt >= o.progressMs) {
            progressAt = now;
            std::printf("watch: progress step %lld received %lld\n", static_cast<long long>(watch.stepsRun()),
                        static_cast<long long>(watch.stepsReceived()));
        }
        std::fflush(stdout);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    if (watch.failed()) {
        std::printf("watch: %s\n", watch.status().c_str());
        return 1;
    }
    std::printf("watch: steps %lld hash %016llx fast-forwarded %lld mean-behind-steps %.1f\n",
                static_cast<long long>(watch.stepsRun()), static_cast<unsigned long long>(watch.lastHash()),
                static_cast<long long>(watch.fastForwarded()),
                behindCount ? static_cast<double>(behindSum) / static_cast<double>(behindCount) : 0.0);
    if (!o.recordPath.empty()) {
        std::ofstream out(o.recordPath, std::ios::binary | std::ios::trunc);
        // The players' replay, with the fighters they chose.
        net::writeOnlineReplay(out, onlineReplayHeader(game, watch.agreed()), watch.startClock(), watch.inputs(),
                               watch.replayHashes());
        if (!out) {
            std::printf("watch: cannot write replay %s\n", o.recordPath.c_str());
            return 1;
        }
    }
    return 0;
}

}  // namespace ib::sim
