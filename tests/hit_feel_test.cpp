// The hit-stop and the combos of a two-player match of the default
// content, stepped pass by pass: quill walks in on rook and punches.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/display.h"
#include "app/game.h"
#include "fight/buttons.h"
#include "fight/frame_data.h"
#include "fight/hit_feel.h"
#include "fight/match_rules.h"
#include "net/sync_test.h"
#include "platform/headless_platform.h"

namespace ib::test {
namespace {

constexpr std::uint32_t kStepMs = 10;

struct Bout {
    Bout()
    {
        const auto previous = std::filesystem::current_path();
        std::filesystem::current_path(INKBLOT_DATA_DIR);
        ready = initDisplay(game) == DD_OK;
        std::filesystem::current_path(previous);
        startFight(game, PlayMode::TwoPlayers, true);
        rules = fightRules(game);
    }
    FightState& fight() { return game.fight; }
    void pass(const StepInput& in = {})
    {
        clock += kStepMs;
        fightStep(game.fight, rules, clock, in);
    }
    // Quill walks in (through the round's banners) to `distance` from rook,
    // stops, and punches every 300 ms until a strike lands; false if none
    // does.
    bool walkInAndPunch(int distance = 130)
    {
        StepInput walk;
        walk.press(2, PlayerButton::Left);
        pass(walk);
        for (int i = 0; i < 1000 && fight().fighter2->x - fight().fighter1->x > distance; ++i) pass();
        StepInput stop;
        stop.release(2, PlayerButton::Left);
        pass(stop);
        for (int i = 0; i < 300 && fight().feel.freezeLeft == 0; ++i) {
            StepInput in;
            if (i % 30 == 0) in.press(2, PlayerButton::Attack);
            if (i % 30 == 5) in.release(2, PlayerButton::Attack);
            pass(in);
        }
        pending = {};
        pending.release(2, PlayerButton::Attack);
        return fight().feel.freezeLeft != 0;
    }

    HeadlessPlatform platform;
    Game game{platform};
    FightRules rules;
    std::uint32_t clock = 0;
    bool ready = false;
    StepInput pending;  // releases to give once the strike has landed
};

// The freeze holds both fighters and the fight's clock; a press made
// during it acts when it ends, and the fight then goes on exactly as it
// would have with the frozen passes taken out.
TEST(HitStop, FreezesBothFightersThenGoesOnAsIfNeverStopped)
{
    Bout bout;
    ASSERT_TRUE(bout.ready);
    ASSERT_TRUE(bout.walkInAndPunch());
    const FightState hit = bout.fight();
    const std::uint32_t freeze = hit.feel.freezeLeft;
    EXPECT_EQ(freeze, hitStopMs(6.0, false, false));  // quill's punch
    EXPECT_GE(freeze, 60u);
    EXPECT_LT(hitStopMs(6.0, true, false), freeze);  // a block stops less
    EXPECT_GT(hitStopMs(6.0, false, true), hitStopMs(16.0, false, false));  // a knock-out more than any strike
    EXPECT_EQ(hit.feel.combo[1].count, 1);
    ASSERT_GE(hit.feel.sparkX, 0);
    // The same fight with no freeze, for comparison.
    FightState twin = hit;
    twin.feel.freezeLeft = 0;
    const std::uint32_t hitClock = bout.clock;

    StepInput press = bout.pending;
    press.press(2, PlayerButton::Attack);
    int frozen = 0;
    while (bout.clock < hitClock + freeze) {
        bout.pass(frozen == 2 ? press : StepInput{});
        ++frozen;
        EXPECT_EQ(bout.fight().fighter1, hit.fighter1);
        EXPECT_EQ(bout.fight().fighter2, hit.fighter2);  // the press is kept
        EXPECT_EQ(bout.fight().currentTime, hit.currentTime);
        EXPECT_EQ(bout.fight().match.roundStart, hit.match.roundStart);
    }
    EXPECT_EQ(frozen, static_cast<int>(freeze / kStepMs));
    EXPECT_EQ(bout.fight().feel.freezeLeft, 0u);

    for (int i = 1; i <= 40; ++i) {
        bout.pass();
        fightStep(twin, bout.rules, hitClock + static_cast<std::uint32_t>(i) * kStepMs, i == 1 ? press : StepInput{});
        ASSERT_EQ(bout.fight().fighter1, twin.fighter1) << "pass " << i << " after the freeze";
        ASSERT_EQ(bout.fight().fighter2, twin.fighter2) << "pass " << i << " after the freeze";
        ASSERT_EQ(bout.fight().currentTime, twin.currentTime);
        if (i == 1) {
            const Fighter& quill = *bout.fight().fighter2;
            EXPECT_TRUE(quill.history.front().contains(buttonCode(quill, PlayerButton::Attack)))
                << "the press is taken as the freeze ends";
        }
    }
}

// Quill's second punch lands while rook still reels from the first: a
// combo of 2 with both punches' damage. Rook then blocks, which breaks it.
TEST(Combo, TwoPunchesCountTwoAndABlockBreaksIt)
{
    Bout bout;
    ASSERT_TRUE(bout.ready);
    ASSERT_TRUE(bout.walkInAndPunch());
    // The second punch is pressed at once and follows the first.
    StepInput again = bout.pending;
    again.press(2, PlayerButton::Attack);
    bout.pass(again);
    int most = 0;
    for (int i = 0; i < 100; ++i) {
        bout.pass();
        most = std::max(most, bout.fight().feel.combo[1].count);
    }
    EXPECT_EQ(most, 2);
    EXPECT_DOUBLE_EQ(bout.fight().feel.combo[1].damage, 12.0);
    EXPECT_TRUE(comboShown(bout.fight(), 2));

    StepInput block;
    block.press(1, PlayerButton::Block);
    block.release(2, PlayerButton::Attack);
    bout.pass(block);
    for (int i = 0; i < 200 && bout.fight().feel.combo[1].count != 0; ++i) {
        StepInput in;
        if (i % 40 == 0) in.press(2, PlayerButton::Attack);
        if (i % 40 == 5) in.release(2, PlayerButton::Attack);
        bout.pass(in);
    }
    EXPECT_EQ(bout.fight().feel.combo[1].count, 0);
    EXPECT_TRUE(bout.fight().feel.sparkBlocked);
    // Frame data: who is free first after the block, and by how much,
    // as the fight then plays it out (to the pass).
    const std::int32_t advantage = bout.fight().feel.advantage;
    EXPECT_EQ(bout.fight().feel.advantageOf, 2);
    std::int64_t freed[2] = {-1, -1};
    for (int i = 0; i < 100 && (freed[0] < 0 || freed[1] < 0); ++i) {
        StepInput in;
        if (i == 0) in.release(1, PlayerButton::Block);
        bout.pass(in);
        for (int p = 0; p < 2; ++p) {
            const Fighter& f = *bout.fight().fighter(p + 1);
            if (freed[p] < 0 && f.currentMove == f.character->defaultMove()) freed[p] = bout.fight().currentTime;
        }
    }
    EXPECT_NEAR(advantage, freed[0] - freed[1], kStepMs);
    EXPECT_FALSE(comboShown(bout.fight(), 2));
    EXPECT_EQ(bout.fight().fighter1->health, 88.0);  // the blocked punch cost nothing
}

// Random play of both players in a match, rolled back 8 steps after every
// step: hit-stops and kept buttons replay hash for hash (the random play
// lands some fifteen strikes in these steps).
TEST(HitStop, RollbackReplaysIt)
{
    Bout bout;
    ASSERT_TRUE(bout.ready);
    net::SyncTestOptions st;
    st.steps = 20000;
    FightState start = bout.fight();
    start.currentTime = st.startClock;
    const net::SyncTestResult r = net::runSyncTest(start, bout.rules, st);
    EXPECT_FALSE(r.mismatch.has_value()) << *r.mismatch;
    EXPECT_EQ(r.steps, 20000);
}

// Rook's punch as its poses time it: 90 ms before the fist can strike,
// 80 + 110 ms striking, 130 ms back.
TEST(FrameData, ThePunchAsItsAnimationTimesIt)
{
    Bout bout;
    ASSERT_TRUE(bout.ready);
    const Move* punch = nullptr;
    for (const auto& m : bout.game.content.characters[0]->moves)
        if (m->name == "rook-punch") punch = m.get();
    ASSERT_NE(punch, nullptr);
    const MoveTiming t = moveTiming(*punch);
    EXPECT_TRUE(t.strikes);
    EXPECT_EQ(t.startup, 90);
    EXPECT_EQ(t.active, 190);
    EXPECT_EQ(t.recovery, 130);
    EXPECT_EQ(framesOf(t.startup), 5);
    EXPECT_EQ(framesOf(t.active), 11);
    EXPECT_EQ(framesOf(-t.recovery), -8);
    EXPECT_FALSE(moveTiming(*bout.game.content.characters[0]->defaultMove()).strikes);
}

}  // namespace
}  // namespace ib::test
