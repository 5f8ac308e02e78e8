// The player's own files: which folder each lives in (one rule for all of
// them), and a file replaced whole or not at all.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>

#include "app/online_game.h"
#include "app/sound_config.h"
#include "input/controls_file.h"
#include "platform/text_file.h"
#include "platform/user_folders.h"
#include "support/fixtures.h"
#include "support/trace_file.h"

namespace ib::test {
namespace {

// Sets environment variables for a scope and puts back what they were.
class ScopedEnv {
public:
    void set(const char* name, const char* value)
    {
        if (!saved_.contains(name)) {
            const char* old = std::getenv(name);
            saved_[name] = old ? std::optional<std::string>(old) : std::nullopt;
        }
        if (value) setenv(name, value, 1);
        else unsetenv(name);
    }
    ~ScopedEnv()
    {
        for (const auto& [name, value] : saved_) {
            if (value) setenv(name.c_str(), value->c_str(), 1);
            else unsetenv(name.c_str());
        }
    }

private:
    std::map<std::string, std::optional<std::string>> saved_;
};

TEST(UserFolders, XdgWhenAbsoluteElseHomeElseNone)
{
    EXPECT_EQ(userFolderFrom("/x/conf", "/h", ".config"), "/x/conf");
    EXPECT_EQ(userFolderFrom("relative", "/h", ".config"), "/h/.config");
    EXPECT_EQ(userFolderFrom("", "/h", ".local/share"), "/h/.local/share");
    EXPECT_EQ(userFolderFrom(nullptr, "/h", ".config"), "/h/.config");
    EXPECT_EQ(userFolderFrom("relative", "", ".config"), "");
    EXPECT_EQ(userFolderFrom(nullptr, nullptr, ".config"), "");

    // Every file of the player's follows the one rule.
    ScopedEnv env;
    env.set("HOME", "/h");
    env.set("XDG_CONFIG_HOME", "conf");
    env.set("XDG_DATA_HOME", "data");
    EXPECT_EQ(defaultControlsPath(), "/h/.config/inkblot-fighter/controls.ini");
    EXPECT_EQ(soundConfigPath(), "/h/.config/inkblot-fighter/sound.ini");
    EXPECT_EQ(onlineReplayFolder(), "/h/.local/share/inkblot-fighter/replays");
    env.set("XDG_CONFIG_HOME", nullptr);
    env.set("XDG_DATA_HOME", nullptr);
    env.set("HOME", nullptr);
    EXPECT_EQ(defaultControlsPath(), "");
    EXPECT_EQ(soundConfigPath(), "");
    EXPECT_EQ(onlineReplayFolder(), "");
}

TEST(TextFile, AReplacedFileIsWholeOrUntouched)
{
    ScratchDir dir;
    EXPECT_EQ(replaceFile("deep/er/controls.ini", "a"), "");
    EXPECT_EQ(readText("deep/er/controls.ini"), "a");
    writeFile("c.ini", "old");
    chmod("c.ini", 0640);
    EXPECT_EQ(replaceFile("c.ini", "new"), "");
    EXPECT_EQ(readText("c.ini"), "new");
    struct stat st {};
    stat("c.ini", &st);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    // A write that fails leaves what was there and no temporary file.
    EXPECT_NE(replaceFile("c.ini/x", "a"), "");
    std::filesystem::create_directory("taken");
    writeFile("taken/mine", "keep");
    EXPECT_NE(replaceFile("taken", "a"), "");
    EXPECT_EQ(readText("taken/mine"), "keep");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator("."), {}), 3);

    std::string error;
    EXPECT_EQ(readTextFile("c.ini", &error), "new");
    EXPECT_FALSE(readTextFile("missing.ini", &error));
    EXPECT_EQ(error, "");
    EXPECT_FALSE(readTextFile("taken", &error));
    EXPECT_EQ(error, "cannot be read");
}

}  // namespace
}  // namespace ib::test
