// The fight's state as one value: the hash tells states apart and is the
// same on every run. (That a restored snapshot plays the same fight again is
// NetSync.RollbackEightSteps, a hundred thousand steps of rollbacks.)
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <vector>

#include "app/display.h"
#include "app/game.h"
#include "input/key_bindings.h"
#include "platform/headless_platform.h"

namespace ib::test {
namespace {

// The default content in the fight, passes driven by hand: the keys come
// from a fixed generator, the clock moves on 16 ms a pass.
struct DefaultGame {
    explicit DefaultGame(std::uint32_t seed) : random(seed)
    {
        const auto previous = std::filesystem::current_path();
        std::filesystem::current_path(INKBLOT_DATA_DIR);
        opened = initDisplay(game) == DD_OK;
        std::filesystem::current_path(previous);
        game.fight.gameState = GameState::Fight;
    }
    // One pass with its keys: both walk in and strike in turn, with a
    // key of generator `random` now and then.
    void pass()
    {
        const auto send = [&](std::uint32_t message, int key) {
            windowProc(game, message, static_cast<std::uint32_t>(key));
        };
        switch (passes++ % 50) {
        case 0: send(WM_KEYDOWN, 'B'), send(WM_KEYDOWN, VK_LEFT); break;
        case 15: send(WM_KEYUP, 'B'), send(WM_KEYUP, VK_LEFT); break;
        case 20: send(WM_KEYDOWN, 'X'); break;
        case 23: send(WM_KEYUP, 'X'); break;
        case 35: send(WM_KEYDOWN, VK_OEM_2); break;
        case 38: send(WM_KEYUP, VK_OEM_2); break;
        }
        random = random * 1103515245u + 12345u;
        if ((random >> 28) == 0) {
            const auto keys = keyBindings();
            send((random >> 27) & 1 ? WM_KEYDOWN : WM_KEYUP, keys[(random >> 16) % keys.size()].virtualKey);
        }
        platform.beginPass();
        fightPass(game);
        platform.endPass();
    }

    HeadlessPlatform platform{1000, 16};
    Game game{platform};
    void play(int n)
    {
        for (int i = 0; i < n; ++i) pass();
    }

    bool opened = false;
    int passes = 0;
    std::uint32_t random;
};

const Move* otherMove(const Fighter& f, const Move* not_)
{
    for (const auto& m : f.character->moves)
        if (m.get() != not_ && m->animation->frames[0].get() != f.frame) return m.get();
    return nullptr;
}

// Every field the fight changes changes the hash; a run from the start
// gives the same hash, whatever the addresses the content was loaded at.
TEST(FightState, TheHashSeesEveryFieldAndNoAddress)
{
    DefaultGame g(5);
    ASSERT_TRUE(g.opened);
    g.play(300);
    const FightState base = g.game.fight;
    const std::uint64_t baseHash = hashFight(base);

    DefaultGame again(5);  // another load: other addresses, the same fight
    again.play(300);
    EXPECT_EQ(hashFight(again.game.fight), baseHash);

    const std::vector<std::function<void(FightState&)>> changes = {
        [](FightState& s) { s.gameState = GameState::End; },
        [](FightState& s) { s.currentTime += 1; },
        [](FightState& s) { s.decisionTime += 1; },
        [](FightState& s) { s.activeQuote.startTime += 1; },
        [](FightState& s) { s.activeQuote.text += 1; },
        [](FightState& s) { s.activeQuote.speaker = 3 - s.activeQuote.speaker; },
        [](FightState& s) { s.lastQuoteCheck += 1; },
        [](FightState& s) { s.quoteRandom.next(); },
        [](FightState& s) { s.quoteFirstCall = !s.quoteFirstCall; },
        [](FightState& s) { s.fighter2.reset(); },
        [](FightState& s) { s.fighter1->facing = -s.fighter1->facing; },
        [](FightState& s) { s.fighter1->lastHitRegion += 1; },
        [](FightState& s) { s.fighter1->health -= 0.5; },
        [](FightState& s) { s.fighter2->x += 1; },
        [](FightState& s) { s.fighter2->y += 1; },
        [](FightState& s) { s.fighter2->moveStart += 1; },
        [](FightState& s) { s.fighter2->held.add(Hit); },
        [](FightState& s) { s.fighter2->history.push_front(ButtonSet{}); },
        [](FightState& s) { s.fighter1->history.back().add(Wildcard); },
        [](FightState& s) { s.fighter1->currentMove = otherMove(*s.fighter1, s.fighter1->currentMove); },
        [](FightState& s) { s.fighter1->pendingMove = otherMove(*s.fighter1, s.fighter1->pendingMove); },
        [](FightState& s) {
            s.fighter1->frame = otherMove(*s.fighter1, s.fighter1->currentMove)->animation->frames[0].get();
        },
        [](FightState& s) { s.fighter2->inAir = true; },
        [](FightState& s) { s.fighter2->flight = {s.fighter2->currentMove, 0, 1}; },
    };
    for (std::size_t i = 0; i < changes.size(); ++i) {
        FightState changed = base;
        changes[i](changed);
        EXPECT_NE(changed, base) << "change " << i;
        EXPECT_NE(hashFight(changed), baseHash) << "change " << i;
    }
}

}  // namespace
}  // namespace ib::test
