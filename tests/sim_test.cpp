// The headless runner: its script reader, its options, the trace it writes
// and its screenshots.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <nlohmann/json.hpp>
#include <png.h>
#include <sstream>

#include "sim/script.h"
#include "sim/sim.h"
#include "support/fixtures.h"
#include "support/tiny_game.h"

namespace ib::test {
namespace {

using K = ScriptEvent::Kind;

std::vector<nlohmann::json> readTrace(const std::string& path)
{
    std::ifstream in(path);
    std::vector<nlohmann::json> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(nlohmann::json::parse(line));
    return lines;
}

TEST(SimScript, ReadsEveryEventKind)
{
    auto r = sim::parseScript(
        "# a comment\n"
        "\n"
        "100 down X\r\n"
        "  120\tup slash   # trailing comment\n"
        "130 down 65\n"
        "140 minimize\n150 restore\n160 close\n170 lose-surfaces\n180 still-drawing 3\n"
        "190 down PERIOD\n200 up ESCAPE\n210 down f12\n");
    ASSERT_EQ(r.error, "");
    const std::vector<ScriptEvent> want = {
        {100, K::KeyDown, 'X'}, {120, K::KeyUp, VK_OEM_2}, {130, K::KeyDown, 'A'},
        {140, K::Minimize, 0},  {150, K::Restore, 0},      {160, K::Close, 0},
        {170, K::LoseSurfaces, 0}, {180, K::StillDrawing, 3}, {190, K::KeyDown, VK_OEM_PERIOD},
        {200, K::KeyUp, VK_ESCAPE},
    };
    ASSERT_GE(r.events.size(), want.size());
    EXPECT_EQ(std::vector<ScriptEvent>(r.events.begin(), r.events.begin() + want.size()), want);
}

TEST(SimScript, NamesTheFirstMalformedLine)
{
    const std::pair<const char*, const char*> cases[] = {
        {"10 down X\nten down X\n", "line 2:"},
        {"10 down\n", "line 1:"},
        {"\n\n10 press X\n", "line 3:"},
        {"10 down LEFTISH\n", "line 1:"},
        {"10 down X Y\n", "line 1:"},
        {"-5 down X\n", "line 1:"},
        {"99999999999 down X\n", "line 1:"},
        {"10 still-drawing -1\n", "line 1:"},
        {"10 down 256\n", "line 1:"},
        {"10 close now\n", "line 1:"},
    };
    for (const auto& [text, where] : cases) {
        auto r = sim::parseScript(text);
        EXPECT_EQ(r.error.rfind(where, 0), 0u) << text << " -> " << r.error;
        EXPECT_TRUE(r.events.empty()) << text;
    }
}

TEST(SimScript, WarnsOfEventsOutOfTimeOrder)
{
    auto r = sim::parseScript(
        "100 down X\n50 up X\n200 down B\n150 up B\n160 down X\n4294967295 up X\n");
    ASSERT_EQ(r.error, "");
    EXPECT_EQ(r.events.size(), 6u);
    // Each late event is measured against the latest time above it.
    ASSERT_EQ(r.warnings.size(), 3u);
    EXPECT_EQ(r.warnings[0], "line 2: 50 ms is before 100 ms on line 1; events are taken in file "
                             "order, so it comes at 100 ms or later");
    EXPECT_EQ(r.warnings[1].rfind("line 4: 150 ms is before 200 ms on line 3;", 0), 0u) << r.warnings[1];
    EXPECT_EQ(r.warnings[2].rfind("line 5: 160 ms is before 200 ms on line 3;", 0), 0u) << r.warnings[2];
    EXPECT_TRUE(sim::parseScript("10 down X\n10 up X\n20 down X\n").warnings.empty());
}

TEST(Sim, MalformedScriptDoesNotStart)
{
    ScratchDir dir;
    writeTinyGame();
    writeFile("bad.script", "100 down X\n200 jump\n");
    testing::internal::CaptureStderr();
    EXPECT_EQ(sim::runSim({"--script", "bad.script", "--trace", "t.jsonl"}), 2);
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("line 2"), std::string::npos) << err;
    EXPECT_TRUE(readTrace("t.jsonl").empty());
    EXPECT_EQ(sim::runSim({"--passes", "many"}), 2);
    EXPECT_EQ(sim::runSim({"--fail-display", "monitor"}), 2);
    EXPECT_EQ(sim::runSim({"--screenshot", "shot.png"}), 2);
}

TEST(Sim, TraceFollowsTheGamePassByPass)
{
    ScratchDir dir;
    writeTinyGame();
    writeFile("fight.script", "1040 down X\n1100 up X\n");
    ASSERT_EQ(sim::runSim({"--script", "fight.script", "--passes", "8", "--trace", "t.jsonl",
                           "--start-ms", "1000", "--step-ms", "20"}),
              0);
    auto trace = readTrace("t.jsonl");
    ASSERT_EQ(trace.size(), 8u);
    EXPECT_EQ(trace[0]["pass"], 1);
    EXPECT_EQ(trace[0]["clock"], 1000);
    EXPECT_EQ(trace[0]["state"], "Splash");
    EXPECT_EQ(trace[0]["currentTime"], 0);
    EXPECT_EQ(trace[2]["state"], "Fight");
    EXPECT_EQ(trace[2]["clock"], 1040);
    EXPECT_EQ(trace[2]["currentTime"], 1040);
    const auto& f1 = trace[2]["fighters"][0];
    EXPECT_EQ(f1["character"], "rook");
    EXPECT_EQ(f1["facing"], -1);
    EXPECT_EQ(f1["health"], 100.0);
    EXPECT_EQ(f1["move"], "rook_punch");
    EXPECT_EQ(f1["held"], nlohmann::json::array({6}));
    EXPECT_EQ(f1["history"], nlohmann::json::parse("[[6]]"));
    EXPECT_TRUE(f1["pending"].is_string());
    EXPECT_EQ(trace[2]["fighters"][1]["character"], "quill");
    EXPECT_EQ(trace[2]["fighters"][1]["facing"], 1);
    const auto& last = trace[7]["fighters"][0];
    EXPECT_EQ(last["history"], nlohmann::json::parse("[[],[6]]"));
    EXPECT_EQ(trace[7]["quote"]["speaker"].get<int>() >= 0, true);
    for (const char* key : {"x", "y", "moveStart", "frame", "lastHitRegion", "screenRect"})
        EXPECT_TRUE(last.contains(key)) << key;
}

TEST(Sim, ScreenshotsShowTheFrontBuffer)
{
    ScratchDir dir;
    writeTinyGame();
    testing::internal::CaptureStderr();
    ASSERT_EQ(sim::runSim({"--passes", "3", "--screenshot", "2:splash.png", "--screenshot",
                           "9:never.png", "--screenshot", "3:last.png"}),
              0);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_FALSE(std::filesystem::exists("never.png"));
    EXPECT_TRUE(std::filesystem::exists("last.png"));
    EXPECT_NE(err.find("no screenshot " + (dir.path() / "never.png").string() +
                       ": the run ended after pass 3, before pass 9"),
              std::string::npos)
        << err;
    EXPECT_EQ(err.find("splash.png"), std::string::npos) << err;
    EXPECT_EQ(err.find("last.png"), std::string::npos) << err;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&image, "splash.png"));
    image.format = PNG_FORMAT_RGB;
    std::vector<png_byte> rgb(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr));
    EXPECT_EQ(image.width, 800u);
    EXPECT_EQ(image.height, 600u);
    // The splash picture is pure blue; its last column stays black.
    EXPECT_EQ(rgb[0], 0);
    EXPECT_EQ(rgb[2], 255);
    EXPECT_EQ(rgb[3 * 799 + 2], 0);
}

TEST(Sim, DataDirectoryAndDisplayFailures)
{
    ScratchDir dir;
    std::filesystem::create_directory("content");
    std::filesystem::current_path("content");
    writeTinyGame();
    std::filesystem::current_path("..");
    EXPECT_EQ(sim::runSim({"--data", "content", "--passes", "2", "--trace", "t.jsonl"}), 0);
    // The trace path is taken from where the runner started.
    EXPECT_EQ(readTrace((dir.path() / "t.jsonl").string()).size(), 2u);
    std::filesystem::current_path(dir.path());
    testing::internal::CaptureStderr();
    EXPECT_EQ(sim::runSim({"--data", "content", "--fail-display", "mode"}), 2);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "SetDisplayMode FAILED\n");
    std::filesystem::current_path(dir.path());
    EXPECT_EQ(sim::runSim({"--data", "no-such-dir"}), 2);
}

TEST(Sim, TraceOfALongQuoteHoldsWhatIsDrawn)
{
    ScratchDir dir;
    writeTinyGame();
    // One quote of 10 MB on one line; an "é" straddles byte 4096.
    std::string quote(10'000'000, 'w');
    for (size_t i = 7; i < quote.size(); i += 8) quote[i] = ' ';
    quote.replace(4095, 2, "\xC3\xA9");
    writeFile("stuff.quotes", quote + "\n");
    writeFile("fight.script", "1010 down SPACE\n");
    const long long passes = 300;
    ASSERT_EQ(sim::runSim({"--script", "fight.script", "--passes", std::to_string(passes),
                           "--step-ms", "500", "--trace", "t.jsonl"}),
              0);
    int shown = 0;
    for (const auto& line : readTrace("t.jsonl")) {
        const auto& q = line["quote"];
        if (q["startTime"] == 0) continue;
        ++shown;
        ASSERT_EQ(q["text"], quote.substr(0, 4095));
        ASSERT_EQ(q["textBytes"], quote.size());
    }
    EXPECT_GE(shown, 20);
    // Every line holds at most the drawn part of the quote and the rest.
    EXPECT_LT(std::filesystem::file_size("t.jsonl"), static_cast<std::uintmax_t>(passes) * 6000);
}

TEST(Sim, ReadmeExampleLandsItsPunch)
{
    // The README shows docs/punch.script and the command that runs it; both
    // are taken from there.
    const std::filesystem::path source = INKBLOT_SOURCE_DIR;
    std::ifstream readmeIn(source / "README.md");
    std::stringstream readme;
    readme << readmeIn.rdbuf();
    std::ifstream scriptIn(source / "docs/punch.script");
    std::stringstream script;
    script << scriptIn.rdbuf();
    ASSERT_FALSE(script.str().empty());
    EXPECT_NE(readme.str().find("```\n" + script.str() + "```\n"), std::string::npos);
    const std::string commandStart = "build/inkblot-sim --data build/data --script docs/punch";
    const size_t start = readme.str().find(commandStart);
    ASSERT_NE(start, std::string::npos);
    std::istringstream command(readme.str().substr(start, readme.str().find("```", start) - start));
    std::vector<std::string> args;
    for (std::string word; command >> word;) {
        if (word == "\\") continue;
        if (word == "build/data") word = INKBLOT_DATA_DIR;
        if (word == "docs/punch.script") word = (source / word).string();
        args.push_back(word);
    }
    args.erase(args.begin());  // the program's name

    ScratchDir dir;
    ASSERT_EQ(sim::runSim(args), 0);
    auto trace = readTrace((dir.path() / "punch.jsonl").string());
    ASSERT_EQ(trace.size(), 200u);
    const auto landed = std::find_if(trace.begin(), trace.end(), [](const nlohmann::json& l) {
        return l["fighters"][1]["health"] < 100.0;
    });
    ASSERT_NE(landed, trace.end()) << "rook stops at x = " << trace.back()["fighters"][0]["x"];
    EXPECT_EQ((*landed)["fighters"][0]["move"], "rook-punch");
    EXPECT_EQ((*landed)["fighters"][1]["health"], 92.0);
    EXPECT_EQ((*landed)["pass"], 132);
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "punch.png"));
}

}  // namespace
}  // namespace ib::test
