// Inkblot Fighter: two players, one keyboard, two ink fighters.
#include <cstdio>
#include <string>
#include <vector>

#include "app/game.h"
#include "app/replay_session.h"
#include "platform/sdl_platform.h"

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    ib::ReplayOptions replay;
    if (const std::string why = ib::takeReplayOptions(args, replay); !why.empty()) {
        std::fprintf(stderr, "Inkblot Fighter: %s\nusage: inkblot-fighter [--record FILE | --replay FILE] [slow]\n",
                     why.c_str());
        return ib::kExitReplayError;
    }
    ib::SdlPlatform platform;
    return ib::runSession(platform, args, replay, /*paced=*/true, "Inkblot Fighter");
}
