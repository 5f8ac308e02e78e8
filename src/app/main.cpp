// Inkblot Fighter: two players at one keyboard or two pads, two ink fighters.
#include <cstdio>
#include <vector>

#include "app/data_folder.h"
#include "app/game.h"
#include "input/controls_file.h"
#include "platform/sdl_platform.h"

int main(int argc, char** argv)
{
    std::vector<const char*> args(argv, argv + argc);
    std::string data;
    if (!ib::takeDataOption(args, data)) {
        std::fputs("inkblot-fighter: --data needs a folder\n", stderr);
        return 2;
    }
    ib::SdlPlatform platform;
    ib::Game game(platform);
    game.contentFiles.setFolder(ib::findDataFolder(data));
    game.configPath = ib::defaultControlsPath().string();
    ib::readArguments(game, static_cast<int>(args.size()), args.data());
    return ib::runGame(game);
}
