// Inkblot Fighter: two players, one keyboard, two ink fighters.
#include "app/game.h"
#include "platform/sdl_platform.h"

int main(int argc, char** argv)
{
    ib::SdlPlatform platform;
    ib::Game game(platform);
    ib::readArguments(game, argc, argv);
    return ib::runGame(game);
}
