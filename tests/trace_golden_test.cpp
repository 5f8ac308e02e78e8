// Whole scripted runs of the default content against the traces they gave
// before the fight's state became one value: every field of every pass must
// stay as it was. tests/traces/hashes.txt holds an FNV-1a 64 of each trace
// with the per-pass "hash" field left out.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>

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
    static const std::regex kHashField(R"(,"hash":"[0-9a-f]{16}")");
    std::ifstream in(path, std::ios::binary);
    std::uint64_t h = 14695981039346656037ull;
    lines = 0;
    for (std::string line; std::getline(in, line); ++lines) {
        line = std::regex_replace(line, kHashField, "");
        for (unsigned char c : line + "\n") h = (h ^ c) * 1099511628211ull;
    }
    return h;
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
        {"trade", kTraces + "trade.script", "6000", {}},
        {"everything", kTraces + "everything.script", "4000", {}},
        {"everything-uneven-clock", kTraces + "everything.script", "3000", {"--step-ms", "7"}},
    };
    ScratchDir dir;
    for (const TracedRun& run : runs) {
        const std::string trace = (dir.path() / (std::string(run.name) + ".jsonl")).string();
        std::vector<std::string> args{"--data", INKBLOT_DATA_DIR, "--script", run.script,
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
