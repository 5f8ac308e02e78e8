// Where the programs look for their content: the order of the places, a
// moved install, and the --data option taken out of the game's arguments.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/data_folder.h"
#include "support/fixtures.h"

namespace ib::test {
namespace {

namespace fs = std::filesystem;

TEST(DataFolder, TheFirstPlaceThatAnswersIsTaken)
{
    ScratchDir dir;
    const fs::path root = dir.path();
    // A build folder with its content, and an install moved to /moved.
    fs::create_directories(root / "build/data");
    writeFile((root / "build/CMakeCache.txt").string(), "");
    fs::create_directories(root / "moved/games");
    fs::create_directories(root / "moved/share/games/inkblot-fighter");
    const fs::path relative = "../share/games/inkblot-fighter";
    const fs::path installed = "/usr/share/games/inkblot-fighter";

    DataFolderClues fromBuild{"", "", root / "build/inkblot-sim", relative, installed};
    EXPECT_EQ(chooseDataFolder(fromBuild), (root / "build/data").string());
    DataFolderClues env = fromBuild;
    env.environment = "/elsewhere";
    EXPECT_EQ(chooseDataFolder(env), "/elsewhere");
    DataFolderClues option = env;
    option.option = "mine";
    EXPECT_EQ(chooseDataFolder(option), "mine");

    DataFolderClues moved{"", "", root / "moved/games/inkblot-sim", relative, installed};
    EXPECT_EQ(chooseDataFolder(moved), (root / "moved/share/games/inkblot-fighter").string());

    // A data folder beside a program outside a build folder is not content,
    // nor is a relative folder that is not there: the install's own folder.
    fs::create_directories(root / "bin/data");
    DataFolderClues nothing{"", "", root / "bin/inkblot-sim", relative, installed};
    EXPECT_EQ(chooseDataFolder(nothing), installed.string());
    nothing.executable.clear();
    EXPECT_EQ(chooseDataFolder(nothing), installed.string());
}

TEST(DataFolder, TheDataOptionLeavesTheOtherArguments)
{
    std::vector<const char*> args{"inkblot-fighter", "slow", "--data", "a", "x", "--data", "b"};
    std::string folder;
    ASSERT_TRUE(takeDataOption(args, folder));
    EXPECT_EQ(folder, "b");
    EXPECT_EQ(std::vector<std::string>(args.begin(), args.end()),
              (std::vector<std::string>{"inkblot-fighter", "slow", "x"}));

    std::vector<const char*> none{"inkblot-fighter", "slow"};
    folder.clear();
    ASSERT_TRUE(takeDataOption(none, folder));
    EXPECT_EQ(folder, "");
    EXPECT_EQ(none.size(), 2u);

    std::vector<const char*> last{"inkblot-fighter", "--data"};
    EXPECT_FALSE(takeDataOption(last, folder));
}

}  // namespace
}  // namespace ib::test
