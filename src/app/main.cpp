// Inkblot Fighter: two players at one keyboard or two pads, two ink fighters.
#include "app/game.h"
#include "input/controls_file.h"
#include "platform/sdl_platform.h"

int main(int argc, char** argv)
{
    ib::SdlPlatform platform;
    ib::Game game(platform);
    game.configPath = ib::defaultControlsPath().string();
    ib::readArguments(game, argc, argv);
    return ib::runGame(game);
}
