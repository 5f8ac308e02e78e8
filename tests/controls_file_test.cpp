// controls.ini: what is read from it, what is said about lines that cannot
// be read, clashing bindings, and writing that keeps every other byte.
#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "content/ini_edit.h"
#include "input/controls_file.h"
#include "platform/input_names.h"
#include "platform/platform.h"
#include "sim/sim.h"
#include "support/fixtures.h"
#include "support/trace_file.h"

namespace ib::test {
namespace {

constexpr auto kAttack = static_cast<std::size_t>(Action::Attack);
constexpr auto kToward = static_cast<std::size_t>(Action::Toward);
constexpr auto kBlock = static_cast<std::size_t>(Action::Block);

std::vector<std::pair<int, std::string>> problems(std::string_view text)
{
    std::vector<std::pair<int, std::string>> out;
    for (const ControlsProblem& p : readControls(text).problems) out.emplace_back(p.line, p.what);
    return out;
}

TEST(ControlsFile, ReadsNamesAndWritesBackEveryByte)
{
    const std::string text =
        "\xEF\xBB\xBF; my controls\r\n"
        "[player1]\r\n"
        "attack = K   ; punch\r\n"
        "  toward=keypad 6\r\n"
        "colour = blue\r\n"
        "[someone-else]\r\n"
        "attack = whatever\r\n"
        "[player2]\r\n"
        "pad-block : y\r\n"
        "pad = 030000005E0400008E02000014010000\r\n"
        "[pads]\r\n"
        "deadzone = 12000";
    ReadControls r = readControls(text);
    EXPECT_EQ(r.problems.size(), 1u);  // colour
    EXPECT_EQ(r.controls.keys[0][kAttack], 'K');
    EXPECT_EQ(r.controls.keys[0][kToward], *virtualKeyFromKeyName("Keypad 6"));
    EXPECT_EQ(r.controls.padButtons[1][kBlock], kPadY);
    EXPECT_EQ(r.controls.padGuid[1], "030000005e0400008e02000014010000");
    EXPECT_EQ(r.controls.deadZone, 12000);
    EXPECT_EQ(r.controls.keys[1], defaultControls().keys[1]);
    EXPECT_EQ(writeControls(text, r.controls), text);

    // A change touches its value only; missing entries join their section,
    // a missing section comes at the end, in the file's line endings.
    Controls c = r.controls;
    c.keys[0][kAttack] = 'J';
    c.keys[1][kAttack] = 'M';
    c.padButtons[0][kAttack] = kPadX;
    const std::string written = writeControls(text, c);
    std::string want = text;
    want.replace(want.find("K   ;"), 1, "J");
    want.replace(want.find("[someone-else]"), 0, "pad-attack = x\r\n");
    want.replace(want.find("[pads]"), 0, "attack = M\r\n");
    EXPECT_EQ(written, want);
    EXPECT_EQ(readControls(written).controls, c);
    EXPECT_EQ(writeControls(written, c), written);

    // A new file says what it is and reads back as written.
    const std::string fresh = writeControls("", c);
    EXPECT_EQ(fresh.rfind("# ", 0), 0u);
    EXPECT_NE(fresh.find("[player2]\nattack = M\n"), std::string::npos) << fresh;
    EXPECT_EQ(readControls(fresh).controls, c);
    EXPECT_EQ(writeControls("", defaultControls()), "");
}

TEST(ControlsFile, EveryBrokenLineIsNamedAndTheDefaultKept)
{
    const std::string text = "[player1]\n"                         // 1
                             "attack\n"                            // 2
                             "[player2\n"                          // 3
                             "attack = Nokey\n"                    // 4
                             "block = Escape\n"                    // 5
                             "pad-up = trigger\n"                  // 6
                             "pad = 1234\n"                        // 7
                             "jump = F\n"                          // 8
                             "[pads]\n"                            // 9
                             "deadzone = 40000\n"                  // 10
                             "speed = 3\n"                         // 11
                             "up = " + std::string(300, 'x') + "\n" +  // 12
                             std::string("down = V\0W\n", 11);     // 13
    const std::vector<std::pair<int, std::string>> want = {
        {2, "is not \"name = value\", a [section] or a comment"},
        {3, "a [section] without its closing \"]\""},
        {4, "unknown key \"Nokey\""},
        {5, "\"Escape\" closes the game and cannot be bound"},
        {6, "unknown pad button \"trigger\""},
        {7, "\"1234\" is not a pad's GUID (32 hexadecimal digits)"},
        {8, "unknown entry \"jump\" in [player1]; it is left alone"},
        {10, "the dead zone \"40000\" is not a whole number from 0 to 32767"},
        {11, "unknown entry \"speed\" in [pads]; it is left alone"},
        {12, "is longer than 198 characters; the line is left out"},
        {13, "holds a NUL byte; the line is left out"},
    };
    EXPECT_EQ(problems(text), want);
    EXPECT_EQ(readControls(text).controls, defaultControls());
}

TEST(ControlsFile, ClashingBindingsAreRefused)
{
    // Player 2's Left arrow stays; so does the first of two entries.
    EXPECT_EQ(problems("[player1]\nattack = Left\nblock = K\n[player2]\nattack = K\n"),
              (std::vector<std::pair<int, std::string>>{
                  {2, "refused: that is already player 2's toward"},
                  {5, "refused: that is already player 1's block"}}));
    // Swapping two keys is no clash; a refused key going back to its
    // default can make one.
    Controls swapped = readControls("[player1]\nattack = Z\nblock = X\n").controls;
    EXPECT_EQ(swapped.keys[0][kAttack], 'Z');
    EXPECT_EQ(swapped.keys[0][kBlock], 'X');
    auto r = readControls("[player1]\nblock = X\nattack = Left\n");
    EXPECT_EQ(r.problems.size(), 2u);
    EXPECT_EQ(r.controls, defaultControls());
    // Pads: within one player only; one pad for two players is refused.
    const std::string guid = "030000005e0400008e02000014010000";
    EXPECT_EQ(problems("[player1]\npad-attack = b\npad = " + guid + "\n[player2]\npad-attack = b\npad = " +
                       guid + "\n"),
              (std::vector<std::pair<int, std::string>>{
                  {2, "refused: that is already player 1's block"},
                  {5, "refused: that is already player 2's block"},
                  {6, "refused: that pad is already player 1's"}}));
}

// The README's punch with attack moved to K: the old key does nothing, the
// new one lands the punch, and the file's one broken line is named.
TEST(ControlsFile, AReboundAttackKeyLandsThePunch)
{
    const std::filesystem::path source = INKBLOT_SOURCE_DIR;
    ScratchDir dir;
    writeFile("controls.ini", "[player1]\nattack = K\nblock = ???\n");
    std::string script = readText((source / "docs/punch.script").string());
    script.replace(script.find("down X"), 6, "down K");
    script.replace(script.find("up X"), 4, "up K");
    writeFile("k.script", script + "3200 down X\n3300 up X\n");
    testing::internal::CaptureStderr();
    ASSERT_EQ(sim::runSim({"--data", INKBLOT_DATA_DIR, "--script", "k.script", "--passes", "220", "--trace",
                           "k.jsonl", "--config", "controls.ini", "--record", "k.replay"}),
              0);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find((dir.path() / "controls.ini").string() + ":3: unknown key \"???\""), std::string::npos)
        << err;
    const auto trace = readTrace((dir.path() / "k.jsonl").string());
    ASSERT_EQ(trace.size(), 220u);
    EXPECT_EQ(trace[130]["fighters"][1]["health"], 100.0);
    EXPECT_EQ(trace[131]["fighters"][1]["health"], 92.0);
    // X, pressed later, is nobody's key now.
    EXPECT_EQ(trace[219]["fighters"][0]["history"].size(), trace[200]["fighters"][0]["history"].size());

    // The replay keeps the controls it was played with: played back with
    // no controls file, K still lands the punch, pass for pass.
    ASSERT_EQ(sim::runSim({"--data", INKBLOT_DATA_DIR, "--replay", "k.replay", "--trace", "replayed.jsonl"}), 0);
    EXPECT_EQ(readText((dir.path() / "replayed.jsonl").string()), readText((dir.path() / "k.jsonl").string()));
}

}  // namespace
}  // namespace ib::test

namespace ib::test {
namespace {

// One entry set in a file the player edits: in place, at the end of its
// section, or in a new section; nothing else moves.
TEST(ControlsFile, OneEntryIsSetAndEveryOtherByteKept)
{
    EXPECT_EQ(setIniEntry("", "play", "level", "3"), "[play]\nlevel = 3\n");
    EXPECT_EQ(setIniEntry("[match]\nrounds = 3", "play", "level", "3"), "[match]\nrounds = 3\n\n[play]\nlevel = 3\n");
    EXPECT_EQ(setIniEntry("[play]\nx = 1\n[match]\n", "play", "level", "5"), "[play]\nx = 1\nlevel = 5\n[match]\n");
    EXPECT_EQ(setIniEntry("[play]\nlevel=1\nlevel = 2 ; mine\n", "play", "level", "4"),
              "[play]\nlevel=1\nlevel = 4 ; mine\n");
}

}  // namespace
}  // namespace ib::test
