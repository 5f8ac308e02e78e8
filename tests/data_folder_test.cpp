// Where the programs look for their content: the order of the places, a
// moved install, the folders named when none holds the content, and the
// --data option taken out of the game's arguments.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/data_folder.h"
#include "sim/sim.h"
#include "support/fixtures.h"
#include "support/tiny_game.h"

namespace ib::test {
namespace {

namespace fs = std::filesystem;

TEST(DataFolder, TheFirstPlaceThatAnswersIsTaken)
{
    ScratchDir dir;
    const fs::path root = dir.path();
    // A modder's folder of content, a build folder with its content, and an
    // install moved to /moved.
    fs::create_directories(root / "mod");
    writeFile((root / "mod/desert.level").string(), "");
    fs::create_directories(root / "empty");
    fs::create_directories(root / "build/data");
    writeFile((root / "build/CMakeCache.txt").string(), "");
    fs::create_directories(root / "moved/games");
    fs::create_directories(root / "moved/share/games/inkblot-fighter");
    const fs::path relative = "../share/games/inkblot-fighter";
    const fs::path installed = "/usr/share/games/inkblot-fighter";
    auto chosen = [](const DataFolderClues& c) { return chooseDataFolder(c).folder; };

    DataFolderClues fromBuild{"", "", root / "empty", root / "build/inkblot-sim", relative, installed};
    EXPECT_EQ(chosen(fromBuild), (root / "build/data").string());
    DataFolderClues modder = fromBuild;
    modder.workingDirectory = root / "mod";
    EXPECT_EQ(chosen(modder), (root / "mod").string());
    DataFolderClues env = modder;
    env.environment = "/elsewhere";
    EXPECT_EQ(chosen(env), "/elsewhere");
    DataFolderClues option = env;
    option.option = "mine";
    EXPECT_EQ(chosen(option), "mine");

    DataFolderClues moved{"", "", root / "empty", root / "moved/games/inkblot-sim", relative, installed};
    EXPECT_EQ(chosen(moved), (root / "moved/share/games/inkblot-fighter").string());

    // A data folder beside a program outside a build folder is not content,
    // nor is a relative folder that is not there: the install's own folder.
    fs::create_directories(root / "bin/data");
    DataFolderClues nothing{"", "", root / "empty", root / "bin/inkblot-sim", relative, installed};
    EXPECT_EQ(chosen(nothing), installed.string());
    nothing.executable.clear();
    nothing.workingDirectory.clear();
    EXPECT_EQ(chosen(nothing), installed.string());
}

TEST(DataFolder, WhenNoFolderHoldsTheLevelEachOneTriedIsNamed)
{
    ScratchDir dir;
    const fs::path root = dir.path();
    fs::create_directories(root / "build/data");
    writeFile((root / "build/CMakeCache.txt").string(), "");
    const fs::path installed = "/nowhere/share/games/inkblot-fighter";
    DataFolderClues clues{"", "", root, root / "build/inkblot-sim", "../share/games/inkblot-fighter", installed};
    const DataFolder found = chooseDataFolder(clues);
    EXPECT_EQ(found.folder, (root / "build/data").string());
    EXPECT_EQ(found.tried, "Content folders tried: " + root.string() + " (working directory), " +
                               (root / "build/data").string() + " (build folder), " +
                               (root / "share/games/inkblot-fighter").string() + " (beside the program), " +
                               installed.string() + " (install folder)");
    writeFile((root / "build/data/desert.level").string(), "");
    EXPECT_EQ(chooseDataFolder(clues).tried, "") << "the build's content answers";
    clues.option = "mine";
    EXPECT_EQ(chooseDataFolder(clues).tried, "Content folders tried: mine (--data)");
}

// The sim as a content author runs it: no --data, in the folder of the
// content. A folder of other content is read; a folder of none names the
// folders tried after the level's own message (a missing file of content
// that is there: Shell.ContentFailureShowsTheReadersTextAndEndsWithOne).
TEST(DataFolder, TheSimReadsContentFromTheFolderItWasStartedIn)
{
    ScratchDir dir;
    unsetenv("INKBLOT_DATA");
    writeTinyGame();
    EXPECT_EQ(sim::runSim({"--passes", "3"}), 0);

    fs::create_directories("nothing");
    setenv("INKBLOT_DATA", "nothing", 1);
    testing::internal::CaptureStderr();
    EXPECT_NE(sim::runSim({"--passes", "3"}), 0);
    unsetenv("INKBLOT_DATA");
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Level file read error <desert>\nContent folders tried: nothing (INKBLOT_DATA)\n");
}

TEST(DataFolder, TheDataOptionLeavesTheOtherArguments)
{
    std::vector<const char*> args{"inkblot-fighter", "slow", "--data", "a", "x", "--data", "b"};
    std::string folder;
    ASSERT_TRUE(takeDataOption(args, folder));
    EXPECT_EQ(folder, "b");
    EXPECT_EQ(std::vector<std::string>(args.begin(), args.end()),
              (std::vector<std::string>{"inkblot-fighter", "slow", "x"}));

    std::vector<const char*> last{"inkblot-fighter", "--data"};
    EXPECT_FALSE(takeDataOption(last, folder));
}

}  // namespace
}  // namespace ib::test
