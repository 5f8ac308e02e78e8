#include "sim/net_sim.h"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <optional>
#include <sstream>
#include <thread>

#include "app/data_folder.h"
#include "app/display.h"
#include "app/game.h"
#include "app/online_choice.h"
#include "content/whole_number.h"
#include "app/replay_recorder.h"
#include "input/key_bindings.h"
#include "net/net_play.h"
#include "net/online_replay.h"
#include "net/sync_test.h"
#include "platform/headless_platform.h"
#include "sim/lobby_sim.h"
#include "sim/script.h"
#include "sim/spectator_door.h"
#include "sim/watch_sim.h"
#include "sim/wall_clock.h"

namespace ib::sim {

namespace {

constexpr int kUsageError = 2;

const char* const kNetUsage =
    "usage: inkblot-sim [--data DIR] --synctest N [--steps M] [--seed S] [--impure-step STEP]\n"
    "       inkblot-sim [--data DIR] (--host PORT | --join 127.0.0.1:PORT) [--script FILE] [--steps M]\n"
    "                   [--delay N] [--seed S] [--net-sim RTT_MS,JITTER_MS,LOSS,SEED] [--record FILE]\n"
    "                   [--impure-step STEP] [--repeat-script MS] [--progress MS]\n"
    "                   [--p1 NAME (hosting) | --p2 NAME (joining)] [--stage NAME (hosting)]\n"
    "                   [--spectators PORT]\n"
    "       inkblot-sim [--data DIR] --watch 127.0.0.1:PORT [--record FILE]\n"
    "       inkblot-sim [--data DIR] --lobby ADDRESS[:PORT] --match (quick | host:CODE | host:new | join:CODE)\n"
    "                   [--lobby-domain NAME] [--name NAME] [--ice-address IP] [--ice-relay-only yes|no] ...\n"
    "The script gives the keys of this side's player (player 1's keys), timed from the fight's start.\n";

struct NetOptions {
    std::string dataDir;
    std::optional<int> synctest;
    std::int64_t steps = 100000;
    std::uint32_t seed = 1;
    std::int64_t impureStep = -1;
    std::optional<std::uint16_t> host;
    std::string joinAddress;
    std::uint16_t joinPort = net::kDefaultPort;
    std::string scriptPath;
    std::string recordPath;
    std::uint32_t repeatMs = 0;  // the script starts again this often (0: once)
    std::uint32_t progressMs = 0;  // the step reached is printed this often (0: never)
    int delay = net::kDefaultInputDelay;
    net::LineImpairment line;
    LobbySimOptions lobby;
    // This side's fighter (--p1 hosting, --p2 joining) and the host's stage.
    std::string fighter[2];
    std::string stage;
    std::optional<std::uint16_t> spectators;  // the host's port for spectators
};

// "RTT,JITTER,LOSS,SEED": milliseconds, milliseconds, a fraction, a number.
bool parseLine(const std::string& v, net::LineImpairment& line)
{
    std::vector<std::string> parts;
    std::stringstream in(v);
    for (std::string p; std::getline(in, p, ',');) parts.push_back(p);
    if (parts.size() != 4) return false;
    auto rtt = wholeNumber<std::uint32_t>(parts[0]), jitter = wholeNumber<std::uint32_t>(parts[1]);
    auto seed = wholeNumber<std::uint32_t>(parts[3]);
    double loss = -1;
    try {
        loss = std::stod(parts[2]);
    } catch (...) {
        return false;
    }
    if (!rtt || !jitter || !seed || !(loss >= 0 && loss <= 1) || *rtt > 10000 || *jitter > 10000) return false;
    line = {*rtt, *jitter, loss, *seed, true};
    return true;
}

int usage(const std::string& why)
{
    std::fprintf(stderr, "inkblot-sim: %s\n%s", why.c_str(), kNetUsage);
    return kUsageError;
}

int parseNetOptions(const std::vector<std::string>& args, NetOptions& o)
{
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (i + 1 >= args.size()) return usage(a + " needs a value");
        const std::string& v = args[++i];
        if (a == "--data") {
            o.dataDir = v;
        } else if (a == "--synctest") {
            o.synctest = wholeNumber<int>(v);
            if (!o.synctest || *o.synctest < 1 || *o.synctest > 30)
                return usage("--synctest takes a number of steps from 1 to 30");
        } else if (a == "--steps") {
            auto n = wholeNumber<std::int64_t>(v);
            if (!n || *n < 1) return usage("--steps takes a whole number");
            o.steps = *n;
        } else if (a == "--seed") {
            auto n = wholeNumber<std::uint32_t>(v);
            if (!n) return usage("--seed takes a whole number");
            o.seed = *n;
        } else if (a == "--impure-step") {
            auto n = wholeNumber<std::int64_t>(v);
            if (!n || *n < 0) return usage("--impure-step takes a step number");
            o.impureStep = *n;
        } else if (a == "--host") {
            o.host = wholeNumber<std::uint16_t>(v);
            if (!o.host) return usage("--host takes a port (0 for any free one)");
        } else if (a == "--join") {
            const auto colon = v.rfind(':');
            o.joinAddress = v.substr(0, colon);
            if (colon != std::string::npos) {
                auto port = wholeNumber<std::uint16_t>(v.substr(colon + 1));
                if (!port || *port == 0) return usage("--join takes HOST:PORT");
                o.joinPort = *port;
            }
            // inkblot-sim plays on this machine only.
            if (o.joinAddress != "127.0.0.1") return usage("inkblot-sim joins 127.0.0.1 only");
        } else if (a == "--spectators") {
            o.spectators = wholeNumber<std::uint16_t>(v);
            if (!o.spectators) return usage("--spectators takes a port (0 for any free one)");
        } else if (a == "--script") {
            o.scriptPath = v;
        } else if (a == "--repeat-script") {
            auto n = wholeNumber<std::uint32_t>(v);
            if (!n || *n == 0) return usage("--repeat-script takes a number of milliseconds");
            o.repeatMs = *n;
        } else if (a == "--progress") {
            auto n = wholeNumber<std::uint32_t>(v);
            if (!n || *n == 0) return usage("--progress takes a number of milliseconds");
            o.progressMs = *n;
        } else if (a == "--record") {
            o.recordPath = v;
        } else if (a == "--delay") {
            auto n = wholeNumber<int>(v);
            if (!n || *n < 0 || *n > net::kMaxInputDelay) return usage("--delay takes 0 to 4");
            o.delay = *n;
        } else if (a == "--p1" || a == "--p2") {
            o.fighter[a == "--p2"] = v;
        } else if (a == "--stage") {
            o.stage = v;
        } else if (a == "--net-sim") {
            if (!parseLine(v, o.line)) return usage("--net-sim takes RTT_MS,JITTER_MS,LOSS,SEED");
        } else if (std::string wrong; takeLobbyOption(a, v, o.lobby, wrong)) {
            if (!wrong.empty()) return usage(wrong);
        } else {
            return usage("unknown option " + a);
        }
    }
    return -1;
}

// The fight as the default content makes it, with no window.
struct HeadlessFight {
    HeadlessPlatform platform{1000, 16};
    Game game{platform};
    bool opened = false;
    explicit HeadlessFight(const std::string& dataDir)
    {
        useDataFolder(game.content.contentFiles, dataDir);
        opened = initDisplay(game) == DD_OK && game.fight.fighter1 && game.fight.fighter2;
    }
};

int runSyncTestMode(const NetOptions& o)
{
    HeadlessFight h(o.dataDir);
    if (!h.opened) return 1;
    FightState start = h.game.fight;
    start.gameState = GameState::Fight;
    net::SyncTestOptions st;
    st.rollback = *o.synctest;
    st.steps = o.steps;
    st.seed = o.seed;
    start.currentTime = st.startClock;
    if (o.impureStep >= 0)
        // The deliberate fault: that step reads the machine's clock.
        st.clockHook = [&](std::int64_t step, std::uint32_t clock) {
            if (step != o.impureStep) return clock;
            const auto ns = std::chrono::steady_clock::now().time_since_epoch().count();
            return clock + static_cast<std::uint32_t>(ns);
        };
    const net::SyncTestResult r = net::runSyncTest(start, fightRules(h.game), st);
    if (r.mismatch) {
        std::printf("synctest: mismatch at step %lld (rollback %d, %lld steps, %d fights)\n",
                    static_cast<long long>(*r.mismatch), st.rollback, static_cast<long long>(r.steps),
                    r.fights);
        return 1;
    }
    std::printf("synctest: no mismatch in %lld steps (rollback %d, %d fights)\n",
                static_cast<long long>(r.steps), st.rollback, r.fights);
    return 0;
}

// One side of an online fight on the loopback address, in real time.
int runNetFightMode(const NetOptions& o)
{
    std::vector<ScriptEvent> events;
    if (!o.scriptPath.empty()) {
        std::ifstream in(o.scriptPath, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        ScriptResult script = parseScript(text.str());
        if (!in || !script.error.empty()) return usage("cannot use script " + o.scriptPath + " " + script.error);
        events = std::move(script.events);
    }
    HeadlessFight h(o.dataDir);
    if (!h.opened) return 1;
    std::unique_ptr<LobbyMeeting> meeting;
    if (!o.lobby.server.address.empty()) {
        std::string error;
        meeting = meetThroughLobby(o.lobby, error);
        if (!meeting) {
            std::printf("lobby: %s\n", error.c_str());
            return 1;
        }
    }
    net::NetPlayConfig c;
    c.hosting = meeting ? meeting->hosting : o.host.has_value();
    // Through the lobby, ENet talks to the ICE line's end on 127.0.0.1.
    c.port = meeting ? (meeting->hosting ? 0 : meeting->line->bridgePort()) : o.host ? *o.host : o.joinPort;
    c.address = meeting ? "127.0.0.1" : o.joinAddress;
    c.bindAddress = "127.0.0.1";
    c.inputDelay = o.delay;
    c.line = o.line;
    const ReplayHeader header = replayHeaderOf(h.game);
    c.gameVersion = header.gameVersion;
    c.content = h.game.content.contentFiles.startFingerprint();
    c.seed = o.seed;
    c.maxSteps = o.steps;
    if (c.hosting ? !o.fighter[1].empty() : (!o.fighter[0].empty() || !o.stage.empty()))
        return usage(c.hosting ? "the host is player 1: its fighter is --p1 (the other player chooses their own)"
                               : "joining, this side is player 2: its fighter is --p2 (the host chooses --p1 and the stage)");
    const bool chosen = !o.fighter[0].empty() || !o.fighter[1].empty() || !o.stage.empty();
    if (const std::string why = chosen ? chooseOnline(h.game, c, o.fighter[c.hosting ? 0 : 1], o.stage) : "";
        !why.empty())
        return usage(why);
    if (o.impureStep >= 0)
        // The deliberate fault: this side runs that step a second late.
        c.clockHook = [step = o.impureStep](std::int64_t s, std::uint32_t clock) {
            return s == step ? clock + 1000 : clock;
        };
    net::NetPlay play(c, h.game.fight, fightRules(h.game));
    if (!play.open()) {
        std::printf("net: %s\n", play.status().c_str());
        return 1;
    }
    if (c.hosting) std::printf("hosting on port %u\n", play.port());
    if (meeting && meeting->hosting) meeting->line->setGamePort(play.port());
    std::unique_ptr<net::SpectatorFeed> feed;
    SpectatorLines spectatorLines;
    if (o.spectators && c.hosting && !(feed = openSpectatorDoor(*o.spectators, c.gameVersion, c.content))) return 1;
    std::fflush(stdout);

    // Bounded: the fight's own length twice over, and 20 s to meet.
    const std::uint32_t began = wallMs();
    const std::uint32_t limitMs = 20000 + static_cast<std::uint32_t>(o.steps * 2000 / 60);
    std::size_t nextEvent = 0;
    std::int64_t scriptRound = 0;
    net::StepBits held = 0;
    std::string shown;
    std::optional<std::uint32_t> finishedAt;
    std::uint32_t progressAt = 0;
    bool firstStepSaid = false;
    double depthSum = 0;
    std::int64_t depthCount = 0;
    while (play.phase() != net::NetPhase::Over || play.reporting()) {
        const std::uint32_t now = wallMs();
        if (now - began > limitMs) {
            std::printf("net: gave up after %u ms\n", now - began);
            return 1;
        }
        if (const net::RollbackSession* s = play.session()) {
            // The script's keys up to the step whose input goes in next.
            std::int64_t ms = s->localSteps() * 1000 / 60;
            if (o.repeatMs) {
                // A new round of the script: its keys start over.
                const std::int64_t round = ms / o.repeatMs;
                if (round != scriptRound) {
                    scriptRound = round;
                    nextEvent = 0;
                }
                ms %= o.repeatMs;
            }
            for (; nextEvent < events.size() && events[nextEvent].time <= ms; ++nextEvent) {
                const ScriptEvent& e = events[nextEvent];
                if (e.kind == ScriptEvent::Kind::KeyDown || e.kind == ScriptEvent::Kind::KeyUp)
                    held = net::withPlayer1Key(keyBindings(), held, e.value, e.kind == ScriptEvent::Kind::KeyDown);
            }
        }
        const std::int64_t rollbacksBefore = play.session() ? play.session()->stats().rollbacks : 0;
        if (meeting) keepUp(*meeting, now);
        play.update(now, held);
        if (feed) tendSpectators(*feed, now, play);
        if (feed && meeting) spectatorLines.tend(*meeting, feed->port(), o.lobby.ice, now);
        if (meeting && play.session() && !firstStepSaid) {
            firstStepSaid = true;
            std::printf("lobby: first step %d ms after the join\n",
                        static_cast<int>(play.fightStartMs() - meeting->joinedAt));
        }
        if (const net::RollbackSession* s = play.session(); s && s->stats().rollbacks != rollbacksBefore) {
            depthSum += s->stats().lastDepth;
            ++depthCount;
        }
        if (play.status() != shown) {
            shown = play.status();
            if (!shown.empty()) std::printf("net: %s (after %u ms)\n", shown.c_str(), now - began);
            std::fflush(stdout);
        }
        if (const net::RollbackSession* s = play.session(); s && o.progressMs && now - progressAt >= o.progressMs) {
            progressAt = now;
            std::printf("net: progress wall-ms %u step %lld\n", now - play.fightStartMs(),
                        static_cast<long long>(s->nextStep()));
            std::fflush(stdout);
        }
        // Once done, the other side is given a second to get what it lacks.
        if (play.finished() && !finishedAt) finishedAt = now;
        if (finishedAt && now - *finishedAt > 1000) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    if (feed)
        seeSpectatorsOff(*feed, play, finishedAt.value_or(wallMs()) - play.fightStartMs(), [&](std::uint32_t now) {
            if (!meeting) return;
            keepUp(*meeting, now);
            spectatorLines.tend(*meeting, feed->port(), o.lobby.ice, now);
        });
    const net::RollbackSession* s = play.session();
    if (play.failed() || !s) {
        std::printf("net: the fight ended: %s\n", play.status().c_str());
        play.close();
        return 1;
    }
    const std::int64_t last = s->confirmedStep();
    // Until every step was settled; the second given to the other side is not the fight's.
    const double seconds = (finishedAt.value_or(wallMs()) - play.fightStartMs()) / 1000.0;
    std::printf("net: steps %lld hash %016llx rollbacks %lld mean-depth %.2f max-depth %d bytes-per-second %.0f "
                "waits %lld hashes-compared %lld rtt %u rtt-range %u-%u wall-ms %.0f steps-per-second %.1f "
                "rejected %lld strangers %lld\n",
                static_cast<long long>(last + 1), static_cast<unsigned long long>(s->hashAfter(last).value_or(0)),
                static_cast<long long>(s->stats().rollbacks), depthCount ? depthSum / depthCount : 0.0,
                s->stats().maxDepth, play.bytesSent() / seconds, static_cast<long long>(play.waits()),
                static_cast<long long>(play.hashesCompared()), play.roundTripMs(), play.roundTripMinMs(),
                play.roundTripMaxMs(), seconds * 1000, (last + 1) / seconds,
                static_cast<long long>(play.rejectedPackets()), static_cast<long long>(play.strangersDropped()));
    play.close();
    if (!o.recordPath.empty()) {
        std::ofstream out(o.recordPath, std::ios::binary | std::ios::trunc);
        net::writeOnlineReplay(out, onlineReplayHeader(h.game, play), play.startClock(), play.confirmedInputs(), play.replayHashes());
        if (!out) {
            std::printf("net: cannot write replay %s\n", o.recordPath.c_str());
            return 1;
        }
    }
    return 0;
}

}  // namespace

bool wantsNetSim(const std::vector<std::string>& args)
{
    for (const std::string& a : args)
        if (a == "--synctest" || a == "--host" || a == "--join" || a == "--lobby" || a == "--watch") return true;
    return false;
}

int runNetSim(const std::vector<std::string>& args)
{
    if (wantsWatchSim(args)) return runWatchSim(args);
    NetOptions o;
    if (int status = parseNetOptions(args, o); status >= 0) return status;
    if (const std::string problem = lobbyOptionsProblem(o.lobby); !problem.empty()) return usage(problem);
    if (o.spectators && o.lobby.server.address.empty() && !o.host)
        return usage("--spectators opens the host's door for spectators: it goes with --host");
    if (o.synctest) return runSyncTestMode(o);
    if (o.host || !o.joinAddress.empty() || !o.lobby.server.address.empty()) return runNetFightMode(o);
    return usage("nothing to do");
}

}  // namespace ib::sim
