// Inkblot Fighter: two players at one keyboard or two pads, two ink fighters.
#include <cstdio>
#include <string>
#include <vector>

#include "app/data_folder.h"
#include "app/game.h"
#include "app/online_game.h"
#include "app/online_options.h"
#include "app/replay_session.h"
#include "input/controls_file.h"
#include "platform/sdl_platform.h"

int main(int argc, char** argv)
{
    std::vector<const char*> argp(argv, argv + argc);
    std::string data;
    if (!ib::takeDataOption(argp, data)) {
        std::fputs("inkblot-fighter: --data needs a folder\n", stderr);
        return 2;
    }
    std::vector<std::string> args(argp.begin() + 1, argp.end());
    ib::ReplayOptions replay;
    if (const std::string why = ib::takeReplayOptions(args, replay); !why.empty()) {
        std::fprintf(stderr, "inkblot-fighter: %s\n", why.c_str());
        return 2;
    }
    ib::OnlineOptions online;
    if (const std::string why = ib::takeOnlineOptions(args, online); !why.empty()) {
        std::fprintf(stderr, "inkblot-fighter: %s\n", why.c_str());
        return 2;
    }
    ib::SdlPlatform platform;
    if (online.online()) {
        ib::Game game(platform);
        ib::useDataFolder(game.content.contentFiles, data);
        // "slow", --config FILE and --controls CODE count online too.
        std::vector<const char*> rest{argv[0]};
        for (const std::string& a : args) rest.push_back(a.c_str());
        ib::readArguments(game, static_cast<int>(rest.size()), rest.data());
        if (game.controllers.configPath.empty() && !game.controllers.controlsFixed) game.controllers.configPath = ib::defaultControlsPath().string();
        return ib::runOnlineGame(game, online);
    }
    return ib::runSession(platform, args, replay, /*paced=*/true, "Inkblot Fighter", [&](ib::Game& game) {
        ib::useDataFolder(game.content.contentFiles, data);
        // The user's own controls, unless --config named a file.
        if (game.controllers.configPath.empty()) game.controllers.configPath = ib::defaultControlsPath().string();
        // F2 lets the player choose the computer's level (a playback takes
        // that from its replay).
        // F2, F3 and F4 open the select screen.
        if (replay.replayPath.empty()) game.playOptions.chooseLevel = game.playOptions.select = true;
        // F5 opens the lobby (at --lobby, else where the controls file says).
        game.lobby.offered = replay.replayPath.empty();
        game.lobby.server = online.lobby;
    });
}
