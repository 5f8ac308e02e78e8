// The headless runner: its script reader, its options, the trace it writes
// and its screenshots.
#include <gtest/gtest.h>

#include <png.h>

#include "sim/script.h"
#include "sim/sim.h"
#include "support/fixtures.h"
#include "support/tiny_game.h"
#include "support/trace_file.h"

namespace ib::test {
namespace {

using K = ScriptEvent::Kind;

// Keys by name and comments are read in every golden trace's script (with
// minimize, restore, lose-surfaces and still-drawing); here what none uses.
TEST(SimScript, ReadsEveryEventKind)
{
    auto r = sim::parseScript("\n100 down X\r\n  120\tup slash   # trailing comment\n130 down 65\n160 close\n"
                              "200 up ESCAPE\n210 down f12\n");
    ASSERT_EQ(r.error, "");
    EXPECT_EQ(r.events, (std::vector<ScriptEvent>{{100, K::KeyDown, 'X'}, {120, K::KeyUp, VK_OEM_2},
                                                  {130, K::KeyDown, 'A'}, {160, K::Close, 0},
                                                  {200, K::KeyUp, VK_ESCAPE}, {210, K::KeyDown, VK_F12}}));
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
    auto r = sim::parseScript("100 down X\n50 up X\n200 down B\n150 up B\n200 up X\n");
    EXPECT_EQ(r.events.size(), 5u);
    ASSERT_EQ(r.warnings.size(), 2u);
    EXPECT_EQ(r.warnings[0], "line 2: 50 ms is before 100 ms on line 1; events are taken in file "
                             "order, so it comes at 100 ms or later");
    EXPECT_EQ(r.warnings[1].rfind("line 4: 150 ms is before 200 ms on line 3;", 0), 0u);
}

TEST(Sim, MalformedScriptDoesNotStart)
{
    TinyGameDir dir;
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

TEST(Sim, ScreenshotsShowTheFrontBuffer)
{
    TinyGameDir dir;
    testing::internal::CaptureStderr();
    ASSERT_EQ(sim::runSim({"--data", ".", "--passes", "3", "--screenshot", "2:splash.png", "--screenshot",
                           "9:never.png", "--screenshot", "3:last.png"}),
              0);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_FALSE(std::filesystem::exists("never.png"));
    EXPECT_TRUE(std::filesystem::exists("last.png"));
    EXPECT_NE(err.find("no screenshot " + (dir.path() / "never.png").string() +
                       ": the run ended after pass 3, before pass 9"),
              std::string::npos)
        << err;
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

TEST(Sim, DataDirectoryFromWhereTheRunnerStarted)
{
    ScratchDir dir;
    std::filesystem::create_directory("content");
    std::filesystem::current_path("content");
    writeTinyGame();
    std::filesystem::current_path("..");
    EXPECT_EQ(sim::runSim({"--data", "content", "--passes", "2", "--trace", "t.jsonl"}), 0);
    // The trace path is taken from where the runner started.
    EXPECT_EQ(readTrace((dir.path() / "t.jsonl").string()).size(), 2u);
    // (A display that does not open: Replay.OtherContentAndDamagedFilesAreRefused.)
    std::filesystem::current_path(dir.path());
    EXPECT_EQ(sim::runSim({"--data", "no-such-dir"}), 2);
}

TEST(Sim, TraceOfALongQuoteHoldsWhatIsDrawn)
{
    TinyGameDir dir;
    // One quote of 10 MB on one line; an "é" straddles byte 4096.
    std::string quote(10'000'000, 'w');
    quote.replace(4095, 2, "\xC3\xA9");
    writeFile("stuff.quotes", quote + "\n");
    writeFile("fight.script", "1010 down SPACE\n");
    ASSERT_EQ(sim::runSim({"--data", ".", "--script", "fight.script", "--passes", "300", "--step-ms", "500",
                           "--trace", "t.jsonl"}),
              0);
    int shown = 0;
    for (const auto& line : readTrace("t.jsonl")) {
        if (line["quote"]["startTime"] == 0) continue;
        ++shown;
        ASSERT_EQ(line["quote"]["text"], quote.substr(0, 4095));
        ASSERT_EQ(line["quote"]["textBytes"], quote.size());
    }
    EXPECT_GE(shown, 20);
    // A line is the drawn 4 KB and the rest of the pass: bounded.
    EXPECT_LT(std::filesystem::file_size("t.jsonl"), 300u * 6000);
}

// The README shows the punch script as it is (the punch trace's golden
// hash pins what it does).
TEST(Sim, TheReadmeShowsThePunchScript)
{
    const std::string source = INKBLOT_SOURCE_DIR;
    EXPECT_NE(readText(source + "/README.md").find("```\n" + readText(source + "/docs/punch.script") + "```\n"),
              std::string::npos);
}

}  // namespace
}  // namespace ib::test
