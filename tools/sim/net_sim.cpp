#include "sim/net_sim.h"

#include <chrono>
#include <charconv>
#include <cstdio>
#include <optional>

#include "app/data_folder.h"
#include "app/display.h"
#include "app/game.h"
#include "net/sync_test.h"
#include "platform/headless_platform.h"

namespace ib::sim {

namespace {

constexpr int kUsageError = 2;

const char* const kNetUsage =
    "usage: inkblot-sim [--data DIR] --synctest N [--steps M] [--seed S] [--impure-step STEP]\n";

template <class T>
std::optional<T> number(const std::string& s)
{
    T value{};
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (ec != std::errc() || end != s.data() + s.size() || s.empty()) return std::nullopt;
    return value;
}

struct NetOptions {
    std::string dataDir;
    std::optional<int> synctest;
    std::int64_t steps = 100000;
    std::uint32_t seed = 1;
    std::int64_t impureStep = -1;
};

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
            o.synctest = number<int>(v);
            if (!o.synctest || *o.synctest < 1 || *o.synctest > 30)
                return usage("--synctest takes a number of steps from 1 to 30");
        } else if (a == "--steps") {
            auto n = number<std::int64_t>(v);
            if (!n || *n < 1) return usage("--steps takes a whole number");
            o.steps = *n;
        } else if (a == "--seed") {
            auto n = number<std::uint32_t>(v);
            if (!n) return usage("--seed takes a whole number");
            o.seed = *n;
        } else if (a == "--impure-step") {
            auto n = number<std::int64_t>(v);
            if (!n || *n < 0) return usage("--impure-step takes a step number");
            o.impureStep = *n;
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
        game.contentFiles.setFolder(findDataFolder(dataDir));
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

}  // namespace

bool wantsNetSim(const std::vector<std::string>& args)
{
    for (const std::string& a : args)
        if (a == "--synctest" || a == "--host" || a == "--join") return true;
    return false;
}

int runNetSim(const std::vector<std::string>& args)
{
    NetOptions o;
    if (int status = parseNetOptions(args, o); status >= 0) return status;
    if (o.synctest) return runSyncTestMode(o);
    return usage("nothing to do");
}

}  // namespace ib::sim
