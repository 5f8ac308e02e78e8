// The game as the benchmarks run it: the default content drawn by the build,
// opened by the game's own start-up in a headless platform, and a scripted
// fight in which rook walks in and punches while quill punches back now and
// then.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

#include "app/display.h"
#include "app/game.h"
#include "app/quotes.h"
#include "fight/frame_geometry.h"
#include "fight/hit_scan.h"
#include "app/fight_screen.h"
#include "platform/headless_platform.h"

namespace ib::bench {

// Content is read from the working directory, as the game does: changes
// into the build's data directory, and back when it goes.
class InDataDir {
public:
    InDataDir() : previous_(std::filesystem::current_path())
    {
        std::filesystem::current_path(INKBLOT_DATA_DIR);
    }
    ~InDataDir() { std::filesystem::current_path(previous_); }
    InDataDir(const InDataDir&) = delete;
    InDataDir& operator=(const InDataDir&) = delete;

private:
    std::filesystem::path previous_;
};

// Key events of the scripted fight, from the platform's first pass at 1000 ms.
inline std::vector<ScriptEvent> fightScript()
{
    using K = ScriptEvent::Kind;
    constexpr int kKeyB = 'B', kKeyX = 'X';
    std::vector<ScriptEvent> events{{1100, K::KeyDown, kKeyB}, {3400, K::KeyUp, kKeyB}};
    for (std::uint32_t i = 0; i < 120; ++i) {
        const std::uint32_t t = 3500 + 800 * i;
        events.push_back({t, K::KeyDown, kKeyB});
        events.push_back({t + 250, K::KeyUp, kKeyB});
        events.push_back({t + 300, K::KeyDown, kKeyX});
        events.push_back({t + 350, K::KeyUp, kKeyX});
        if (i % 3 == 1) {
            events.push_back({t + 500, K::KeyDown, VK_OEM_2});
            events.push_back({t + 550, K::KeyUp, VK_OEM_2});
        }
    }
    return events;
}

// What resolveHits hands the hit scan in one pass.
struct ScanCase {
    PoseMask fighter1, fighter2;
    std::int64_t d = 0, dy = 0;
    std::int32_t lastHit1 = 0, lastHit2 = 0;
};

// A Game on the default content, in the fight, 16 ms a pass.
struct DefaultFight {
    HeadlessPlatform platform;
    Game game{platform};
    bool opened = false;

    explicit DefaultFight(bool scripted = true)
    {
        InDataDir in;
        if (scripted) platform.setScript(fightScript());
        opened = initDisplay(game) == DD_OK && game.fight.fighter1 && game.fight.fighter2;
        game.fight.gameState = GameState::Fight;
    }

    // One pass of the main loop in the fight: the key events that are due,
    // then the game's fight step with its frame. `scanned`, if given,
    // receives the hit scan that the step's resolveHits runs.
    void pass(std::optional<ScanCase>* scanned = nullptr)
    {
        while (platform.peekMessage()) {
            const Message m = platform.getMessage();
            windowProc(game, m.message, m.wParam);
        }
        platform.beginPass();
        if (scanned) {
            FightRules rules = fightRules(game);
            rules.quoteEndsWhenDrawn = true;  // as the game's own pass
            const StepMark mark = beginFightStep(game.fight, rules, platform.timeGetTime(), game.stepInput, nullptr);
            game.stepInput.clear();
            const bool reached = drawFight(game.screen, game.content, game.fight);
            *scanned = scanCase();
            finishFightStep(game.fight, rules, mark, reached, nullptr);
        } else
            fightPass(game);
        platform.endPass();
    }

    // The game ends the fight 5 s after the knock-out.
    bool over() const
    {
        return game.fight.gameState == GameState::End;
    }

    // The hit scan resolveHits would run now; none while the pictures have
    // not met.
    std::optional<ScanCase> scanCase() const
    {
        const Fighter& f1 = *game.fight.fighter1;
        const Fighter& f2 = *game.fight.fighter2;
        if (!f1.frame || !f2.frame) return std::nullopt;
        const std::int64_t x1 = pictureLeft(f1), x2 = pictureLeft(f2);
        if (f1.facing * x1 > f1.facing * x2) return std::nullopt;
        const Image& i1 = *f1.frame->image;
        const Image& i2 = *f2.frame->image;
        return ScanCase{{i1.width, i1.height, i1.mask}, {i2.width, i2.height, i2.mask},
                        x1 > x2 ? x1 - x2 : x2 - x1, pictureTop(f2) - pictureTop(f1),
                        f1.lastHitRegion, f2.lastHitRegion};
    }
};

}  // namespace ib::bench
