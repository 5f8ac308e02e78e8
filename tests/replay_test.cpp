// Replays: the file as written and read back, the reader's refusals, and
// whole runs recorded by inkblot-sim and played back pass for pass.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <regex>

#include "app/replay_session.h"
#include "input/replay_file.h"
#include "sim/sim.h"
#include "support/fixtures.h"
#include "support/tiny_game.h"
#include "support/trace_file.h"

namespace ib::test {
namespace {

const std::string kHeader = "inkblot-replay 1\ngame 0.1\ncontent 00000000000000ff\nargs slow\n";

TEST(ReplayFile, ReadsWhatItWrites)
{
    Replay r;
    r.header = {"0.1", 0xff, {"slow"}};
    r.items = {ReplayPasses{1000, 1}, ReplayPasses{16, 3}, Message{WM_KEYDOWN, 66},
               Message{0x0420, 0xFFFFFFFFu}, ReplayPasses{17, 70}, Message{WM_KEYUP, 66}};
    r.hashes = {{60, 0x0123456789abcdefull}, {74, 42}};
    r.passes = 74;
    const std::string text = formatReplay(r);
    // Passes of one delta are a run; the hash comes after its pass; a
    // message of any number is kept as it was taken.
    EXPECT_EQ(text, kHeader +
                        "p 1000 16*3\nm 256 66\nm 1056 4294967295\np 17*56\nh 60 0123456789abcdef\n"
                        "p 17*14\nh 74 000000000000002a\nm 257 66\nend 74\n");
    // Runs split by a hash line are read back as one, and the cursor hands
    // them out, in every recorded run played back below.
    const ReplayRead back = parseReplay(text);
    ASSERT_EQ(back.error, "");
    EXPECT_EQ(back.replay, r);
}

TEST(ReplayFile, BadInputsNameTheirLine)
{
    const std::pair<std::string, std::string> cases[] = {
        {"", "line 1: the file is empty, not a replay"},
        {"GIF89a\n", "line 1: not an Inkblot Fighter replay"},
        {"inkblot-replay 2\n", "line 1: replay format 2 is not one this game reads (it reads 1)"},
        {"inkblot-replay 1\ngame 0.1\n", "line 3: the file ends inside its header, before \"content\""},
        {"inkblot-replay 1\ngame 0.1\ncontent 12\nargs\n", "line 3: \"12\" is not a hash of 16 hexadecimal digits"},
        // Cut short: at a line's end, and inside a number.
        {kHeader + "p 16*3\nm 256 66\n", "line 7: the file ends before its end line: it was cut short"},
        {kHeader + "p 16*", "line 5: \"\" is not a number from 0 to 4294967295"},
        {kHeader + "p 16\n\x01\xff garbage\nend 1\n", "line 6: unknown line \"??\" (m, p, h, c or end)"},
        {kHeader + "p 16\n\nend 1\n", "line 6: an empty line"},
        {kHeader + "m 256\n", "line 5: a message is \"m MESSAGE WPARAM\""},
        // Numbers past 32 bits, wherever they are.
        {kHeader + "m 4294967296 1\n", "line 5: \"4294967296\" is not a number from 0 to 4294967295"},
        {kHeader + "p 16*99999999999\n", "line 5: \"99999999999\" is not a number from 0 to 4294967295"},
        {kHeader + "p 4294967295*4294967295 0\n", "line 5: more than 4294967295 passes"},
        {kHeader + "p -1\n", "line 5: \"-1\" is not a number from 0 to 4294967295"},
        {kHeader + "p 16*0\n", "line 5: a run of 0 passes in \"16*0\""},
        {kHeader + "p 16*2\nh 3 0000000000000001\n", "line 6: the hash is for pass 3, but 2 passes come before it"},
        {kHeader + "p 16\nh 1 1\n", "line 6: \"1\" is not a hash of 16 hexadecimal digits"},
        {kHeader + "p 16\nend 2\n", "line 6: the end line says 2 passes, but the replay holds 1"},
        {kHeader + "end 0\nm 256 66\n", "line 6: nothing may follow the end line"},
        {kHeader + "p" + std::string(5000, ' ') + "1\nend 1\n", "line 5: the line is longer than 4096 characters"},
    };
    for (const auto& [text, error] : cases) {
        const ReplayRead r = parseReplay(text);
        EXPECT_EQ(r.error, error) << text.substr(0, 120);
        EXPECT_EQ(r.replay, Replay{});
    }
    EXPECT_EQ(parseReplay(std::string(kReplayMaxBytes + 1, 'x')).error, "line 1: the file is larger than 16 MB");
}

// (Taken out of inkblot-sim's arguments in every recorded run below.)
TEST(ReplayOptions, BadOnesAreNamed)
{
    ReplayOptions opts;
    std::vector<std::string> both{"--record", "a", "--replay", "b"}, bare{"--replay"};
    EXPECT_EQ(takeReplayOptions(both, opts), "--record and --replay cannot be used together");
    EXPECT_EQ(takeReplayOptions(bare, opts), "--replay needs a file");
}

// The README's fight to the knock-out (rook punches until quill falls),
// with the window minimised for a while; the game closes by itself.
std::string fightScript()
{
    std::string script = readText(INKBLOT_SOURCE_DIR "/docs/screenshots.script");
    const std::size_t at = script.find("3600 up B\n");
    EXPECT_NE(at, std::string::npos);
    return script.insert(at + 10, "3610 minimize\n3690 restore\n");
}

TEST(Replay, PlaysBackToTheSameTraceAndStopsWhereItDiverges)
{
    ScratchDir dir;
    writeFile("fight.script", fightScript());
    ASSERT_EQ(sim::runSim({"--data", INKBLOT_DATA_DIR, "--script", "fight.script", "--step-ms", "17",
                           "--trace", "scripted.jsonl", "--record", "fight.replay", "slow"}),
              0);
    const std::string scripted = readText("scripted.jsonl");
    ASSERT_NE(scripted.find("\"state\":\"End\""), std::string::npos) << "no knock-out";
    const std::string replay = readText("fight.replay");
    EXPECT_NE(replay.find("\nargs slow\n"), std::string::npos);
    EXPECT_NE(replay.find("\nm 6 65536\n"), std::string::npos);  // minimised
    // The close the end screen posts is the game's own: not recorded.
    EXPECT_EQ(replay.find("\nm 16 "), std::string::npos);

    // The replay brings its own arguments: "slow" is not given again.
    ASSERT_EQ(sim::runSim({"--data", INKBLOT_DATA_DIR, "--replay", "fight.replay", "--trace", "replayed.jsonl"}), 0);
    EXPECT_EQ(readText("replayed.jsonl"), scripted);

    // One hash changed: the playback stops at its pass.
    writeFile("bad.replay", std::regex_replace(replay, std::regex("\nh 240 [0-9a-f]{16}\n"),
                                               "\nh 240 0123456789abcdef\n"));
    testing::internal::CaptureStderr();
    EXPECT_EQ(sim::runSim({"--data", INKBLOT_DATA_DIR, "--replay", "bad.replay", "--trace", "t.jsonl"}), 3);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "inkblot-sim: " + (dir.path() / "bad.replay").string() + ": replay diverged at pass 240\n");
    EXPECT_EQ(readTrace("t.jsonl").size(), 240u);
}

// The computer's choices come from the fight's state and the recorded
// clock: started by its options (kept in the replay) or by F2 on the splash
// (seeded from the first pass's clock), its fights play back hash for hash.
TEST(Replay, FightsAgainstTheComputerPlayBack)
{
    ScratchDir dir;
    writeFile("f2.script", "1100 down F2\n1200 up F2\n1300 down B\n2500 up B\n2500 down X\n2600 up X\n");
    const std::vector<std::vector<std::string>> runs = {
        {"--script", "f2.script"},
        {"--versus-cpu", "5", "--seed", "7"},
        {"--cpu", "1:2", "--cpu", "2:4"},
        {"--training", "--script", "f2.script"},
    };
    for (const auto& extra : runs) {
        std::vector<std::string> record{"--data", INKBLOT_DATA_DIR, "--passes", "2500", "--record", "cpu.replay",
                                        "--trace", "recorded.jsonl"};
        record.insert(record.end(), extra.begin(), extra.end());
        ASSERT_EQ(sim::runSim(record), 0) << extra[0];
        ASSERT_EQ(sim::runSim({"--data", INKBLOT_DATA_DIR, "--replay", "cpu.replay", "--trace", "replayed.jsonl"}),
                  0)
            << extra[0];
        const std::string recorded = readText("recorded.jsonl");
        EXPECT_NE(recorded.find("\"mode\""), std::string::npos) << extra[0];
        EXPECT_EQ(readText("replayed.jsonl"), recorded) << extra[0];
    }
}

TEST(Replay, OtherContentAndDamagedFilesAreRefused)
{
    TinyGameDir dir;
    const std::string data = dir.path().string();
    ASSERT_EQ(sim::runSim({"--data", data, "--passes", "30", "--record", "tiny.replay"}), 0);
    ASSERT_EQ(sim::runSim({"--data", data, "--replay", "tiny.replay"}), 0);
    // A display that does not open is the game's failure, not the replay's.
    testing::internal::CaptureStderr();
    EXPECT_EQ(sim::runSim({"--data", data, "--replay", "tiny.replay", "--fail-display", "mode"}), 2);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "SetDisplayMode FAILED\n");
    // Cut before its last hash.
    std::string cut = readText("tiny.replay");
    cut.erase(cut.rfind('\n', cut.rfind('\n', cut.size() - 2) - 1) + 1);
    writeFile("cut.replay", cut);
    const auto cutLines = std::count(cut.begin(), cut.end(), '\n');
    writeFile("stuff.quotes", "a quote the recording never read\n");
    const std::pair<const char*, std::string> cases[] = {
        {"tiny.replay", "tiny.replay: replay was recorded with other content"},
        {"cut.replay", "cut.replay: line " + std::to_string(cutLines + 1) +
                           ": the file ends before its end line: it was cut short"},
        {"missing.replay", "cannot read replay " + (dir.path() / "missing.replay").string()},
    };
    for (const auto& [file, message] : cases) {
        testing::internal::CaptureStderr();
        EXPECT_EQ(sim::runSim({"--data", data, "--replay", file, "--trace", "t.jsonl"}), 3) << file;
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_NE(err.find(message), std::string::npos) << err;
        EXPECT_EQ(readText("t.jsonl"), "") << file;  // no pass ran
    }
}

}  // namespace
}  // namespace ib::test
