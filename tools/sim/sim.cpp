#include "sim/sim.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <limits>
#include <map>
#include <optional>
#include <sstream>

#include "app/data_folder.h"
#include "app/display.h"
#include "app/game.h"
#include "app/matchup.h"
#include "app/replay_session.h"
#include "content/whole_number.h"
#include "platform/headless_platform.h"
#include "platform/sdl_sound_check.h"
#include "sim/net_sim.h"
#include "sim/beginner_matches.h"
#include "sim/computer_fights.h"
#include "sim/screenshot.h"
#include "sim/script.h"
#include "sim/trace.h"

namespace ib::sim {

namespace {

constexpr int kUsageError = 2;

const char* const kUsage =
    "usage: inkblot-sim [--data DIR] [--script FILE] [--passes N] [--start-ms MS] [--step-ms MS]\n"
    "                   [--trace FILE] [--screenshot P:FILE.png]... [--fail-display STEP]\n"
    "                   [--record FILE | --replay FILE] [--config FILE]\n"
    "                   [--fights N [--max-ms MS]]\n"
    "                   [--beginner masher|mixed|turtle --level N [--matches M]]\n"
    "                   [--swap-characters]\n"
    "                   [game arguments: slow, --versus-cpu [LEVEL], --training,\n"
    "                    --cpu PLAYER:LEVEL, --seed N, --match, --rounds N, --timer S,\n"
    "                    --p1 NAME, --p2 NAME, --stage NAME, --select]\n"
    "--fights N plays N fights of the computer with seeds N, N+1, ... (from --seed,\n"
    "default 1), without drawing, each until a knock-out or --max-ms of game time\n"
    "(default 120000), and prints who won.\n"
    "--beginner plays M best-of-three matches (default 20) of a scripted beginner\n"
    "(player 1) against the computer at level N (player 2), with seeds from --seed,\n"
    "and prints the rounds won. --swap-characters seats quill as player 1 and rook\n"
    "as player 2 in those fights and matches.\n"
    "STEP is one of window, create, cooperative, mode, surface, attach.\n"
    "Online runs (--synctest N, --host PORT, --join HOST:PORT) take options of their\n"
    "own: \"inkblot-sim --host\" alone lists them.\n";

std::optional<DisplayStep> displayStep(const std::string& s)
{
    static const std::map<std::string, DisplayStep> kSteps = {
        {"window", DisplayStep::Window}, {"create", DisplayStep::Create},
        {"cooperative", DisplayStep::Cooperative}, {"mode", DisplayStep::Mode},
        {"surface", DisplayStep::Surface}, {"attach", DisplayStep::Attach}};
    auto it = kSteps.find(s);
    if (it == kSteps.end()) return std::nullopt;
    return it->second;
}

struct Options {
    std::string dataDir;
    std::string scriptPath;
    long long passes = 100000;
    std::uint32_t startMs = 1000;
    std::uint32_t stepMs = 16;
    std::string tracePath;
    std::multimap<long long, std::string> screenshots;
    std::optional<DisplayStep> failStep;
    std::vector<std::string> gameArgs;
    ReplayOptions replay;
    bool passesGiven = false;
    long long fights = 0;
    std::uint32_t maxMs = 120000;
    std::optional<beginners::Style> beginner;
    int level = 0;
    long long matches = 20;
    bool swapCharacters = false;
};

int usage(const std::string& why)
{
    std::fprintf(stderr, "inkblot-sim: %s\n%s", why.c_str(), kUsage);
    return kUsageError;
}

// Fills opts; returns a non-negative status when the run must not start.
int parseOptions(std::vector<std::string> args, Options& opts)
{
    if (const std::string why = takeReplayOptions(args, opts.replay); !why.empty()) return usage(why);
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= args.size()) return false;
            out = args[++i];
            return true;
        };
        std::string v;
        if (a == "--data" || a == "--script" || a == "--passes" || a == "--start-ms" ||
            a == "--step-ms" || a == "--trace" || a == "--screenshot" || a == "--fail-display" ||
            a == "--fights" || a == "--max-ms" || a == "--config" || a == "--beginner" || a == "--level" ||
            a == "--matches") {
            if (!value(v)) return usage(a + " needs a value");
        }
        if (a == "--data") {
            opts.dataDir = v;
        } else if (a == "--script") {
            opts.scriptPath = v;
        } else if (a == "--passes") {
            auto n = wholeNumber<long long>(v);
            if (!n || *n < 0) return usage("--passes takes a whole number");
            opts.passes = *n;
            opts.passesGiven = true;
        } else if (a == "--start-ms" || a == "--step-ms") {
            auto n = wholeNumber<std::uint32_t>(v);
            if (!n) return usage(a + " takes a whole number of milliseconds");
            (a == "--start-ms" ? opts.startMs : opts.stepMs) = *n;
        } else if (a == "--fights") {
            auto n = wholeNumber<long long>(v);
            if (!n || *n < 1) return usage("--fights takes a number of fights from 1");
            opts.fights = *n;
        } else if (a == "--beginner") {
            opts.beginner = beginners::styleNamed(v);
            if (!opts.beginner) return usage("--beginner takes masher, mixed or turtle");
        } else if (a == "--level") {
            auto n = wholeNumber<int>(v);
            if (!n || *n < 1 || *n > 5) return usage("--level takes a level from 1 to 5");
            opts.level = *n;
        } else if (a == "--matches") {
            auto n = wholeNumber<long long>(v);
            if (!n || *n < 1) return usage("--matches takes a number of matches from 1");
            opts.matches = *n;
        } else if (a == "--max-ms") {
            auto n = wholeNumber<std::uint32_t>(v);
            if (!n) return usage("--max-ms takes a whole number of milliseconds");
            opts.maxMs = *n;
        } else if (a == "--trace") {
            opts.tracePath = v;
        } else if (a == "--screenshot") {
            size_t colon = v.find(':');
            auto pass = colon == std::string::npos ? std::nullopt : wholeNumber<long long>(v.substr(0, colon));
            if (!pass || *pass < 1 || colon + 1 >= v.size())
                return usage("--screenshot takes PASS:FILE.png");
            opts.screenshots.emplace(*pass, v.substr(colon + 1));
        } else if (a == "--fail-display") {
            opts.failStep = displayStep(v);
            if (!opts.failStep) return usage("unknown display step \"" + v + "\"");
        } else if (a == "--config") {
            // Read from where the runner was started; without --config the
            // run has the default controls, whatever the user's file says.
            opts.gameArgs.push_back("--config");
            opts.gameArgs.push_back(std::filesystem::absolute(v).string());
        } else if (a == "--swap-characters") {
            opts.swapCharacters = true;
        } else if (a == "--help" || a == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        } else {
            opts.gameArgs.push_back(a);
        }
    }
    if (opts.beginner.has_value() != (opts.level > 0)) return usage("--beginner and --level go together");
    if (!opts.replay.replayPath.empty() && !opts.scriptPath.empty())
        return usage("a replay brings its own input: --script cannot be used with --replay");
    return -1;
}

std::string absoluteFrom(const std::filesystem::path& base, const std::string& p)
{
    if (p.empty()) return p;
    std::filesystem::path path(p);
    return path.is_absolute() ? p : (base / path).string();
}

// The content loaded and, if asked, the two Characters in each other's
// seats; a status when it cannot be.
std::optional<int> setUpFights(Game& game, const Options& opts)
{
    try {
        if (initDisplay(game) != DD_OK) return kUsageError;
    } catch (const std::exception&) {
        return 1;
    }
    if (const std::string why = useNamedMatchup(game); !why.empty()) {
        std::fprintf(stderr, "inkblot-sim: %s\n", why.c_str());
        return kExitArgumentError;
    }
    if (opts.swapCharacters) swapCharacters(game);
    return std::nullopt;
}

// The computer's fights, one line each and a summary.
int playFights(Game& game, const Options& opts)
{
    const std::uint32_t first = game.playOptions.seed.value_or(1);
    const PlayMode mode = game.playOptions.startMode.value_or(PlayMode::VersusComputer);
    long long wins[3] = {0, 0, 0};
    double knockOutMs = 0;
    for (long long i = 0; i < opts.fights; ++i) {
        const auto seed = static_cast<std::uint32_t>(first + i);
        const FightOutcome o = playComputerFight(game, mode, seed, opts.stepMs, opts.maxMs);
        ++wins[o.winner];
        if (o.winner != 0) knockOutMs += o.endMs;
        std::printf("fight %lld seed %u: %s at %u ms; health %.1f %.1f; hits %d %d; blocked %d %d; "
                    "most used attack %d %% %d %%\n", i + 1, seed,
                    o.winner == 0 ? "no knock-out" : (o.winner == 1 ? "player 1 won" : "player 2 won"),
                    o.endMs, o.health[0], o.health[1], o.hits[0], o.hits[1], o.blocks[0], o.blocks[1],
                    o.tally.topShare(1), o.tally.topShare(2));
    }
    const long long knockOuts = wins[1] + wins[2];
    std::printf("%lld fights: player 1 won %lld, player 2 won %lld, no knock-out %lld; mean knock-out at %.1f s\n",
                opts.fights, wins[1], wins[2], wins[0],
                knockOuts ? knockOutMs / 1000.0 / static_cast<double>(knockOuts) : 0.0);
    return 0;
}

}  // namespace

int runSim(const std::vector<std::string>& args)
{
    if (wantsNetSim(args)) return runNetSim(args);
    Options opts;
    if (int status = parseOptions(args, opts); status >= 0) return status;

    // Output paths are taken relative to where the runner was started.
    const std::filesystem::path startDir = std::filesystem::current_path();
    opts.tracePath = absoluteFrom(startDir, opts.tracePath);
    opts.replay.recordPath = absoluteFrom(startDir, opts.replay.recordPath);
    opts.replay.replayPath = absoluteFrom(startDir, opts.replay.replayPath);
    for (auto& [pass, file] : opts.screenshots) file = absoluteFrom(startDir, file);

    HeadlessPlatform platform(opts.startMs, opts.stepMs);
    // The sound files are read as the game reads them; nothing is heard.
    platform.recordingSound().setFileCheck(sdlSoundFileCheck());
    if (!opts.scriptPath.empty()) {
        std::ifstream in(opts.scriptPath, std::ios::binary);
        if (!in) {
            std::fprintf(stderr, "inkblot-sim: cannot read script %s\n", opts.scriptPath.c_str());
            return kUsageError;
        }
        std::stringstream text;
        text << in.rdbuf();
        ScriptResult script = parseScript(text.str());
        if (!script.error.empty()) {
            std::fprintf(stderr, "inkblot-sim: %s: %s\n", opts.scriptPath.c_str(), script.error.c_str());
            return kUsageError;
        }
        for (const std::string& w : script.warnings)
            std::fprintf(stderr, "inkblot-sim: %s: %s\n", opts.scriptPath.c_str(), w.c_str());
        platform.setScript(std::move(script.events));
    }
    if (opts.failStep) platform.failStep(*opts.failStep);
    // A replay runs to its end unless told otherwise.
    const bool replaying = !opts.replay.replayPath.empty();
    platform.setMaxPasses(replaying && !opts.passesGiven ? std::numeric_limits<long long>::max() : opts.passes);

    std::ofstream trace;
    if (!opts.tracePath.empty()) {
        trace.open(opts.tracePath, std::ios::binary | std::ios::trunc);
        if (!trace) {
            std::fprintf(stderr, "inkblot-sim: cannot write trace %s\n", opts.tracePath.c_str());
            return kUsageError;
        }
    }
    std::error_code ec;
    if (!opts.dataDir.empty() && !std::filesystem::is_directory(opts.dataDir, ec)) {
        std::fprintf(stderr, "inkblot-sim: no content folder %s\n", opts.dataDir.c_str());
        return kUsageError;
    }

    if (opts.fights > 0 || opts.beginner) {
        Game game(platform);
        useDataFolder(game.content.contentFiles, opts.dataDir);
        std::vector<const char*> argv{"inkblot-sim"};
        for (const std::string& a : opts.gameArgs) argv.push_back(a.c_str());
        readArguments(game, static_cast<int>(argv.size()), argv.data());
        if (const auto status = setUpFights(game, opts)) return *status;
        if (!opts.beginner) return playFights(game, opts);
        return printBeginnerMatches(game, *opts.beginner, opts.level, opts.matches,
                                    game.playOptions.seed.value_or(1), opts.stepMs);
    }

    auto prepare = [&](Game& game) {
        useDataFolder(game.content.contentFiles, opts.dataDir);
        platform.onPassEnd = [&] {
            const long long pass = platform.passes();
            // A replay's pass runs at its recorded clock reading.
            const std::uint32_t clock = replaying ? game.platform.timeGetTime() : platform.passStartClock();
            if (trace.is_open())
                trace << traceLine(game, pass, clock)
                             .dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace)
                      << '\n';
            auto [first, last] = opts.screenshots.equal_range(pass);
            for (auto it = first; it != last; ++it)
                if (game.screen.primarySurface) writePng(*game.screen.primarySurface, it->second);
            return true;
        };
    };
    const int status = runSession(platform, opts.gameArgs, opts.replay, /*paced=*/false, "inkblot-sim", prepare);
    platform.onPassEnd = nullptr;  // it saw the game, which is gone
    const long long ran = platform.passes();
    for (auto it = opts.screenshots.upper_bound(ran); it != opts.screenshots.end(); ++it)
        std::fprintf(stderr, "inkblot-sim: no screenshot %s: the run ended after pass %lld, before pass %lld\n",
                     it->second.c_str(), ran, it->first);
    return status;
}

}  // namespace ib::sim
