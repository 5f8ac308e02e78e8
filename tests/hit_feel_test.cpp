// The hit-stop, the combos and the frames drawn after a hit in a
// two-player match of the default content, stepped pass by pass: quill
// walks in on rook and punches.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/display.h"
#include "app/fight_screen.h"
#include "app/game.h"
#include "fight/buttons.h"
#include "fight/frame_geometry.h"
#include "fight/frame_data.h"
#include "fight/hit_feel.h"
#include "fight/match_rules.h"
#include "net/sync_test.h"
#include "platform/headless_platform.h"

namespace ib::test {
namespace {

constexpr std::uint32_t kStepMs = 10;

struct Bout {
    explicit Bout(bool match = true)
    {
        const auto previous = std::filesystem::current_path();
        std::filesystem::current_path(INKBLOT_DATA_DIR);
        ready = initDisplay(game) == DD_OK;
        std::filesystem::current_path(previous);
        startFight(game, PlayMode::TwoPlayers, match);
        rules = fightRules(game);
    }
    FightState& fight() { return game.fight; }
    void pass(const StepInput& in = {})
    {
        clock += kStepMs;
        fightStep(game.fight, rules, clock, in);
    }
    // Passes until the round's banners let the fighters move.
    void untilFight()
    {
        for (int i = 0; i < 1000 && roundStarting(game.fight); ++i) pass();
    }
    // Rook jumps, and presses attack once 60 pixels up (`twin`, if given,
    // jumps alone beside it).
    void jumpAndAttack(FightState* twin = nullptr)
    {
        const std::int32_t ground = fight().fighter1->y;
        StepInput up, down, attack;
        up.press(1, PlayerButton::Up);
        down.release(1, PlayerButton::Up);
        attack.press(1, PlayerButton::Attack);
        for (const StepInput* in : {&up, &down}) {
            pass(*in);
            if (twin) fightStep(*twin, rules, clock, *in);
        }
        for (int i = 0; i < 100 && fight().fighter1->y > ground - 60; ++i) {
            pass();
            if (twin) fightStep(*twin, rules, clock, {});
        }
        pass(attack);
        if (twin) fightStep(*twin, rules, clock, {});
    }
    std::string move(int player) { return fight().fighter(player)->currentMove->name; }

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

    // The fight frame drawn from `state` (its quote left out), as the pass
    // after it shows it.
    std::vector<std::uint16_t> frame(FightState state)
    {
        state.activeQuote = {};
        EXPECT_TRUE(composeFight(game.screen, game.content, state));
        const Surface& back = *game.screen.backBuffer;
        return {back.data(), back.data() + back.width() * back.height()};
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

constexpr int kWidth = 800, kHeight = 600;

// The frames of the passes after quill's punch lands, drawn with and
// without the hit's effects: quill's spark picture lies centred on the hit
// point, rook's body (and nothing else) is lit up for two frames, and then
// only the spark is left.
TEST(HitEffects, SparkOnTheHitPointAndTwoFramesOfFlash)
{
    Bout bout;
    ASSERT_TRUE(bout.ready);
    ASSERT_TRUE(bout.walkInAndPunch());
    const Surface* spark = bout.fight().fighter2->character->spark.get();
    ASSERT_NE(spark, nullptr) << "the generator's spark picture";
    const int sparkLeft = bout.fight().feel.sparkX - spark->width() / 2;
    const int sparkTop = bout.fight().feel.sparkY - spark->height() / 2;
    auto inSpark = [&](int x, int y) {
        return x >= sparkLeft && x < sparkLeft + spark->width() && y >= sparkTop && y < sparkTop + spark->height();
    };
    const Fighter& rook = *bout.fight().fighter1;
    std::vector<bool> body(kWidth * kHeight);
    const HitMask& mask = *rook.frame->image->mask;
    for (int r = 0; r < mask.height; ++r)
        for (int c = 0; c < mask.width; ++c) {
            const auto x = screenColumn(rook, c), y = pictureTop(rook) + r;
            if (mask.bodyAt(r, c) != 0 && x >= 0 && x < kWidth && y >= 0 && y < kHeight) body[y * kWidth + x] = true;
        }

    for (int pass = 0; pass < 3; ++pass) {
        FightState plain = bout.fight();
        plain.feel = {};
        const auto felt = bout.frame(bout.fight()), still = bout.frame(plain);
        int sparkShown = 0;
        for (int y = 0; y < spark->height(); ++y)
            for (int x = 0; x < spark->width(); ++x)
                if (spark->pixel(x, y) != spark->colorKey()) {
                    ASSERT_EQ(felt[(sparkTop + y) * kWidth + sparkLeft + x], spark->pixel(x, y)) << x << "," << y;
                    ++sparkShown;
                }
        EXPECT_GT(sparkShown, 200);
        int bodyPixels = 0, lit = 0, elsewhere = 0;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                if (inSpark(x, y)) continue;
                const bool differs = felt[y * kWidth + x] != still[y * kWidth + x];
                if (body[y * kWidth + x]) {
                    ++bodyPixels;
                    lit += differs;
                } else {
                    elsewhere += differs;
                }
            }
        EXPECT_EQ(elsewhere, 0) << "pass " << pass;
        if (pass < kFlashFrames)
            EXPECT_GT(lit, bodyPixels * 9 / 10) << "pass " << pass;
        else
            EXPECT_EQ(lit, 0) << "pass " << pass;
        bout.pass();
    }
}

// A knock-out shakes the whole frame for kShakeMs: each frame meanwhile is
// the still frame moved by a few pixels, and afterwards it is still again.
TEST(HitEffects, AKnockOutShakesTheFrameAndPutsItBack)
{
    Bout bout;
    ASSERT_TRUE(bout.ready);
    bout.fight().fighter1->health = 1;
    ASSERT_TRUE(bout.walkInAndPunch());
    ASSERT_TRUE(bout.fight().feel.shaking) << "rook's health " << bout.fight().fighter1->health;
    // The offset (dx, dy) by which `moved` shows `still` inside a margin, if any.
    auto offset = [](const std::vector<std::uint16_t>& moved, const std::vector<std::uint16_t>& still) {
        for (int dy = -8; dy <= 8; ++dy)
            for (int dx = -8; dx <= 8; ++dx) {
                bool same = true;
                for (int y = 20; same && y < kHeight - 20; ++y)
                    for (int x = 20; same && x < kWidth - 20; ++x)
                        same = moved[y * kWidth + x] == still[(y - dy) * kWidth + x - dx];
                if (same) return std::pair{dx, dy};
            }
        return std::pair{99, 99};
    };
    int shaken = 0, after = 0;
    for (int pass = 0; pass < 40; ++pass) {
        FightState shaking = bout.fight();
        shaking.feel.sparkX = -1;
        shaking.feel.flash[0] = shaking.feel.flash[1] = 0;
        FightState calm = shaking;
        calm.feel.shaking = false;
        const auto [dx, dy] = offset(bout.frame(shaking), bout.frame(calm));
        if (effectClock(shaking) - shaking.feel.shakeAt < kShakeMs) {
            EXPECT_TRUE(dx != 99 && (dx != 0 || dy != 0)) << "pass " << pass << ": " << dx << "," << dy;
            ++shaken;
        } else {
            EXPECT_EQ(std::pair(dx, dy), std::pair(0, 0)) << "pass " << pass;
            ++after;
        }
        bout.pass();
    }
    EXPECT_GE(shaken, 10);
    EXPECT_GE(after, 10);
}

// Rook's punch as its poses time it: 90 ms before the fist can strike,
// Attack pressed in the air makes rook's attack in the air, while the jump
// carries him up and down exactly as it would have alone; he lands on the
// ground and the attack ends with the landing. In the quick fight the same
// keys leave the jump alone (the punch waits for the landing).
TEST(JumpAttack, TheJumpGoesOnUnderItAndItLandsOnAStandingOpponent)
{
    for (const bool match : {true, false}) {
        SCOPED_TRACE(match ? "match" : "quick fight");
        Bout bout(match);
        ASSERT_TRUE(bout.ready);
        bout.untilFight();
        const std::int32_t ground = bout.fight().fighter1->y;
        FightState alone = bout.fight();
        bout.jumpAndAttack(&alone);
        bool madeInAir = false;
        for (int i = 0; i < 100; ++i) {
            madeInAir = madeInAir || bout.move(1) == "rook-air";
            ASSERT_EQ(bout.fight().fighter1->y, alone.fighter1->y) << "pass " << i;
            bout.pass();
            fightStep(alone, bout.rules, bout.clock, {});
        }
        EXPECT_EQ(madeInAir, match);
        EXPECT_EQ(bout.fight().fighter1->y, ground);
        EXPECT_FALSE(bout.fight().fighter1->inAir);
        EXPECT_EQ(bout.fight().fighter1->flight.move, nullptr);
    }
    // Quill standing near takes it.
    Bout bout;
    ASSERT_TRUE(bout.ready);
    StepInput walk, stop;
    walk.press(2, PlayerButton::Left);
    stop.release(2, PlayerButton::Left);
    bout.untilFight();
    bout.pass(walk);
    for (int i = 0; i < 1000 && bout.fight().fighter2->x - bout.fight().fighter1->x > 150; ++i) bout.pass();
    bout.pass(stop);
    bout.jumpAndAttack();
    for (int i = 0; i < 60 && bout.fight().fighter2->health == 100.0; ++i) bout.pass();
    EXPECT_EQ(bout.fight().fighter2->health, 100.0 - 8.0);
    EXPECT_EQ(bout.move(1), "rook-air");
    EXPECT_TRUE(bout.fight().fighter1->inAir);
}

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
