// A whole, tiny game written into the working directory (use inside a
// ScratchDir): the level "desert", the Characters "rook" and "quill", the
// three screen pictures and a quotes file. Each fighter stands in a looping
// one-frame stance, walks toward the other on Forward (20 px a 50 ms step), and has a one-frame
// punch on Attack whose fist lands for `punchDamage`.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/game.h"
#include "platform/headless_platform.h"
#include "support/fixtures.h"

namespace ib::test {

struct TinyGameOptions {
    double punchDamage = 10.0;
    bool screens = true;  // write splash.tga, endsplash.tga, pink.screen.tga
    bool quotes = true;
};

void writeTinyGame(const TinyGameOptions& options = {});

// A scratch working directory holding the tiny game.
struct TinyGameDir : ScratchDir {
    explicit TinyGameDir(const TinyGameOptions& options = {}) { writeTinyGame(options); }
};

// The colours of the tiny game's pictures, as the screen shows them.
constexpr std::uint16_t kSplashColour = 0x001F;      // blue
constexpr std::uint16_t kEndColour = 0x07C0;         // green
constexpr std::uint16_t kBackgroundColour = 0x8410;  // grey

// A headless game over a script, run in-process.
struct TinyRun {
    explicit TinyRun(std::vector<ScriptEvent> script = {}, long long maxPasses = 100000);
    int run();

    HeadlessPlatform platform;
    std::unique_ptr<Game> game;
};

ScriptEvent keyDown(std::uint32_t t, int vk);
ScriptEvent keyUp(std::uint32_t t, int vk);
ScriptEvent event(std::uint32_t t, ScriptEvent::Kind kind, int value = 0);

}  // namespace ib::test
