// inkblot-soak: the whole game on the default content, fight after fight,
// driven by random key presses and releases of both players until the
// wanted stretch of game time is covered, with the process's memory
// sampled as it goes.
//
//   inkblot-soak --data DIR [--minutes M] [--seed S] [--sample-seconds N]
//                [--fight-minutes F] [--scripts DIR]
//
// Each fight is a fresh game (start-up, splash, fight, knock-out, end
// screen) played from a script in inkblot-sim's format; --scripts keeps
// those scripts. A fight not decided after F minutes (5) is closed with
// Escape; the last fight is cut off where the M minutes end. A line "memory GAME_S FIGHT RSS_KB HEAP_KB" is printed
// every N seconds of game time (RSS from /proc/self/status, heap in use
// as malloc counts it). At the end the largest heap of the first minute is
// compared with the largest after it: the run fails (status 1) when memory
// kept growing, or when a fight did not end by itself or by its script.
#include <malloc.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "app/game.h"
#include "input/key_bindings.h"
#include "platform/headless_platform.h"
#include "sim/script.h"

namespace {

constexpr std::uint32_t kStepMs = 16;
// Growth of the heap after the first minute that still counts as none.
constexpr long kSlackKb = 256;

struct Options {
    std::string dataDir;
    double minutes = 60;
    std::uint32_t seed = 1;
    double sampleSeconds = 10;
    double fightMinutes = 5;
    std::string scriptsDir;
};

long statusKb(const char* field)
{
    std::ifstream in("/proc/self/status");
    std::string line;
    const std::string key = std::string(field) + ":";
    while (std::getline(in, line))
        if (line.rfind(key, 0) == 0) return std::stol(line.substr(key.size()));
    return -1;
}

// Bytes in use, whether malloc took them from its heap or mapped them
// apart (large pictures, until freeing one raises the mapping threshold).
long heapKb()
{
    const struct mallinfo2 m = mallinfo2();
    return static_cast<long>((m.uordblks + m.hblkhd) / 1024);
}

// Random presses and releases of both players' keys, a few a second, for
// the longest fight; then Escape. The first key leaves the splash screen.
// Attacks and steps toward the other come most often, so that most fights
// end in a knock-out.
std::string fightScript(std::mt19937& random, std::uint32_t startMs, std::uint32_t longestFightMs)
{
    // Player 1 starts on the left, so Right steps toward the other.
    const auto keys = ib::keyBindings();
    const int kKeyCount = static_cast<int>(keys.size());
    std::vector<int> weights;
    for (const ib::KeyBinding& k : keys) {
        const bool toward = k.button == (k.player == 1 ? ib::PlayerButton::Right : ib::PlayerButton::Left);
        weights.push_back(k.button == ib::PlayerButton::Attack ? 4 : toward ? 3 : 1);
    }
    std::discrete_distribution<int> key(weights.begin(), weights.end());
    std::uniform_int_distribution<int> gap(20, 300), stray(0, 19);
    std::vector<bool> held(kKeyCount, false);
    std::ostringstream script;
    std::uint32_t t = startMs + 100;
    script << t << " down SPACE\n" << t + 50 << " up SPACE\n";
    t += 100;
    while (t < startMs + longestFightMs) {
        t += static_cast<std::uint32_t>(gap(random));
        const int k = key(random);
        // Mostly the opposite of what the key is doing; now and then a
        // release of a key that is up, or a press of one held (a repeat).
        const bool press = stray(random) == 0 ? held[k] : !held[k];
        script << t << (press ? " down " : " up ") << ib::keyName(keys[k].virtualKey) << "\n";
        held[k] = press;
    }
    script << t + 100 << " down ESCAPE\n";
    return script.str();
}

int usage(const char* why)
{
    std::fprintf(stderr,
                 "inkblot-soak: %s\nusage: inkblot-soak --data DIR [--minutes M] [--seed S] "
                 "[--sample-seconds N] [--fight-minutes F] [--scripts DIR]\n",
                 why);
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    Options opts;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (i + 1 >= argc) return usage((a + " needs a value").c_str());
        const std::string v = argv[++i];
        if (a == "--data")
            opts.dataDir = v;
        else if (a == "--minutes")
            opts.minutes = std::stod(v);
        else if (a == "--seed")
            opts.seed = static_cast<std::uint32_t>(std::stoul(v));
        else if (a == "--sample-seconds")
            opts.sampleSeconds = std::stod(v);
        else if (a == "--fight-minutes")
            opts.fightMinutes = std::stod(v);
        else if (a == "--scripts")
            opts.scriptsDir = v;
        else
            return usage(("unknown option " + a).c_str());
    }
    if (opts.dataDir.empty()) return usage("--data is needed");
    if (!opts.scriptsDir.empty()) std::filesystem::create_directories(opts.scriptsDir);
    opts.scriptsDir = opts.scriptsDir.empty() ? "" : std::filesystem::absolute(opts.scriptsDir).string();
    std::error_code ec;
    std::filesystem::current_path(opts.dataDir, ec);
    if (ec) return usage(("cannot change into " + opts.dataDir).c_str());

    std::mt19937 random(opts.seed);
    const auto longestFightMs = static_cast<std::uint32_t>(opts.fightMinutes * 60000);
    const double wantedMs = opts.minutes * 60000.0;
    const auto sampleEvery = static_cast<long long>(opts.sampleSeconds * 1000 / kStepMs);
    double gameMs = 0;  // game time of the fights before this one
    long firstMinutePeakKb = 0, laterPeakKb = 0;
    int fights = 0, undecided = 0;
    long long totalPasses = 0;

    std::printf("memory game_s fight rss_kb heap_kb\n");
    while (gameMs < wantedMs) {
        ++fights;
        const std::uint32_t start = 1000;
        const std::string text = fightScript(random, start, longestFightMs);
        if (!opts.scriptsDir.empty())
            std::ofstream(opts.scriptsDir + "/fight-" + std::to_string(fights) + ".script") << text;
        ib::sim::ScriptResult script = ib::sim::parseScript(text);
        if (!script.error.empty()) {
            std::fprintf(stderr, "inkblot-soak: generated script: %s\n", script.error.c_str());
            return 1;
        }

        ib::HeadlessPlatform platform(start, kStepMs);
        platform.setScript(std::move(script.events));
        // The last fight stops where the wanted stretch of game time ends.
        const double left = std::min<double>(wantedMs - gameMs, 2.0 * longestFightMs + 60000);
        platform.setMaxPasses(std::max<long long>(1, static_cast<long long>(left / kStepMs)));
        ib::Game game(platform);
        const double before = gameMs;
        platform.onPassEnd = [&] {
            const double now = before + (platform.clock() - start);
            if ((totalPasses + platform.passes()) % sampleEvery == 0) {
                const long heap = heapKb();
                std::printf("memory %.0f %d %ld %ld\n", now / 1000, fights, statusKb("VmRSS"), heap);
                std::fflush(stdout);
            }
            long& peak = now <= 60000 ? firstMinutePeakKb : laterPeakKb;
            peak = std::max(peak, heapKb());
            return true;
        };
        const int status = ib::runGame(game);
        totalPasses += platform.passes();
        gameMs += platform.clock() - start;
        if (status != ib::kExitOk) {
            std::fprintf(stderr, "inkblot-soak: fight %d ended with status %d\n", fights, status);
            return 1;
        }
        if (game.fight.decisionTime == 0) ++undecided;
    }

    std::printf("soak: %.1f minutes of game time, %d fights (%d closed undecided), %lld passes\n",
                gameMs / 60000, fights, undecided, totalPasses);
    std::printf("soak: heap peak %ld KB in the first minute, %ld KB after it; peak RSS %ld KB\n",
                firstMinutePeakKb, laterPeakKb, statusKb("VmHWM"));
    if (firstMinutePeakKb == 0) {
        std::printf("soak: the heap is not glibc's here (valgrind?): not compared\n");
        return 0;
    }
    if (laterPeakKb > firstMinutePeakKb + kSlackKb) {
        std::printf("soak: FAIL: memory grew after the first minute\n");
        return 1;
    }
    std::printf("soak: memory stopped growing after the first minute\n");
    return 0;
}
