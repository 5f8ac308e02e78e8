// Whole scripted runs of the default content against the traces they gave
// before the fight's state became one value: every field of every pass must
// stay as it was. tests/traces/hashes.txt holds an FNV-1a 64 of each trace
// with the per-pass "hash" and "sounds" fields left out (the sounds came
// later and are what the passes report, not what they change).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <utility>
#include <vector>

#include "sim/sim.h"
#include "support/fixtures.h"

namespace ib::test {
namespace {

const std::string kTraces = INKBLOT_SOURCE_DIR "/tests/traces/";

struct TracedRun {
    const char* name;
    std::string script;
    const char* passes;
    std::vector<std::string> extra;
};

std::uint64_t traceHash(const std::string& path, int& lines)
{
    static const std::regex kHashField(R"(,"sounds":\[[^\]]*\]|,"hash":"[0-9a-f]{16}")");
    std::ifstream in(path, std::ios::binary);
    std::uint64_t h = 14695981039346656037ull;
    lines = 0;
    for (std::string line; std::getline(in, line); ++lines) {
        line = std::regex_replace(line, kHashField, "");
        for (unsigned char c : line + "\n") h = (h ^ c) * 1099511628211ull;
    }
    return h;
}

// Rook walks in and punches, quill punches back now and then, to the
// knock-out (the benchmarks' fight).
std::string tradeScript()
{
    std::ostringstream out;
    out << "1100 down B\n3400 up B\n";
    for (int i = 0; i < 120; ++i) {
        const int t = 3500 + 800 * i;
        out << t << " down B\n" << t + 250 << " up B\n" << t + 300 << " down X\n" << t + 350 << " up X\n";
        if (i % 3 == 1) out << t + 500 << " down SLASH\n" << t + 550 << " up SLASH\n";
    }
    return out.str();
}

// Both players press everything at random; the display is lost, busy,
// minimised and restored; several quotes come and go.
std::string everythingScript()
{
    static const char* const kKeys[] = {"B", "C", "F", "V", "X", "Z",
                                        "LEFT", "RIGHT", "UP", "DOWN", "SLASH", "PERIOD"};
    std::vector<std::pair<int, std::string>> events;
    std::set<std::string> held;
    std::uint32_t random = 7;
    const auto next = [&](std::uint32_t n) {
        random = random * 1103515245u + 12345u;
        return (random >> 16) % n;
    };
    for (int t = 1200; t < 60000;) {
        t += 15 + static_cast<int>(next(246));
        const std::string key = kKeys[next(12)];
        events.emplace_back(t, (held.erase(key) ? "up " : "down ") + key);
        if (events.back().second[0] == 'd') held.insert(key);
    }
    for (int t = 5000; t < 60000; t += 6100) events.emplace_back(t, "lose-surfaces");
    for (int t = 7000; t < 60000; t += 9000) events.emplace_back(t, "still-drawing 3");
    events.emplace_back(20000, "minimize");
    events.emplace_back(21000, "restore");
    std::stable_sort(events.begin(), events.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::ostringstream out;
    out << "1100 down ENTER\n1150 up ENTER\n";
    for (const auto& [t, e] : events) out << t << ' ' << e << '\n';
    return out.str();
}

TEST(TraceGolden, ScriptedRunsGiveTheTracesTheyAlwaysGave)
{
    std::map<std::string, std::string> want;
    std::ifstream list(kTraces + "hashes.txt");
    for (std::string line; std::getline(list, line);) {
        std::istringstream words(line);
        std::string name, hash;
        if (line.empty() || line[0] == '#' || !(words >> name >> hash)) continue;
        want[name] = hash;
    }
    const TracedRun runs[] = {
        {"knockout", INKBLOT_SOURCE_DIR "/docs/screenshots.script", "1500", {}},
        {"punch", INKBLOT_SOURCE_DIR "/docs/punch.script", "300", {}},
        {"trade", "trade.script", "6000", {}},
        {"everything", "everything.script", "4000", {}},
        {"everything-uneven-clock", "everything.script", "3000", {"--step-ms", "7"}},
    };
    ScratchDir dir;
    writeFile((dir.path() / "trade.script").string(), tradeScript());
    writeFile((dir.path() / "everything.script").string(), everythingScript());
    if (const char* keep = std::getenv("INKBLOT_KEEP_TRACE_SCRIPTS")) {  // to make hashes anew
        writeFile(std::string(keep) + "/trade.script", tradeScript());
        writeFile(std::string(keep) + "/everything.script", everythingScript());
    }
    for (const TracedRun& run : runs) {
        const std::string trace = (dir.path() / (std::string(run.name) + ".jsonl")).string();
        const std::string script =
            run.script.find('/') == std::string::npos ? (dir.path() / run.script).string() : run.script;
        std::vector<std::string> args{"--data", INKBLOT_DATA_DIR, "--script", script,
                                      "--passes", run.passes, "--trace", trace};
        args.insert(args.end(), run.extra.begin(), run.extra.end());
        ASSERT_EQ(sim::runSim(args), 0) << run.name;
        std::filesystem::current_path(dir.path());
        int lines = 0;
        char got[17];
        std::snprintf(got, sizeof got, "%016llx",
                      static_cast<unsigned long long>(traceHash(trace, lines)));
        EXPECT_GT(lines, 100) << run.name;
        EXPECT_EQ(got, want[run.name]) << run.name << ": " << lines << " passes";
    }
}

}  // namespace
}  // namespace ib::test
