// Walls, the push-apart and pixel hits.
#include <array>
#include <cmath>
#include <limits>
#include <tuple>

#include <gtest/gtest.h>

#include "fight/hit_scan.h"
#include "input/key_bindings.h"
#include "support/fight_builders.h"

namespace ib {
namespace {

using namespace test;

// Fighter 1 (facing -1) and fighter 2 (facing +1) standing in looping
// moves of damage 10; a Hit makes fighter 1 react with a move of damage 30.
struct Fight : testing::Test {
    std::unique_ptr<Character> rook = makeCharacter(
        makeMove({{Hit}}, 1, 30, makeAnimation(false, {{}})),
        makeMove({}, 0, 10, makeAnimation(true, {{.backColumn = 20}})));
    std::unique_ptr<Character> quill =
        makeCharacter(makeMove({}, 0, 10, makeAnimation(true, {{.backColumn = 20}})));
    Level level = makeLevel(0, 800);
    Fighter f1{*rook, level, Side::Left}, f2{*quill, level, Side::Right};
    std::uint32_t decisionTime = 0;
};

TEST_F(Fight, PushApartMovesEachBackByHalfTheOverlap)
{
    moveFighters(f1, f2, level, 0);
    // front edges (= x) before and after
    for (auto [x1, x2, after1, after2] :
         {std::array{410, 405, 408, 407}, {406, 405, 406, 405}, {300, 500, 300, 500}}) {
        f1.x = x1;
        f2.x = x2;
        moveFighters(f1, f2, level, 10);
        EXPECT_EQ((std::array{f1.x, f2.x}), (std::array{after1, after2}));
    }
}

TEST_F(Fight, WallsLeaveRoomForTheOthersBodyWidth)
{
    auto narrow = makeFrame({.hotspotX = 20, .backColumn = 40});  // body width 40
    auto wide = makeFrame({.hotspotX = 30, .backColumn = 60});    // body width 60
    auto clamp = [&](Fighter& a, Fighter& b, const Frame* fa, const Frame* fb, int x) {
        a.frame = fa;
        b.frame = fb;
        a.x = x;
        keepInBounds(a, b, level);
        return a.x;
    };
    const Frame *n = narrow.get(), *w = wide.get();
    EXPECT_EQ(clamp(f2, f1, w, n, 790), 770);  // back edge on rightBound
    EXPECT_EQ(clamp(f2, f1, w, n, 50), 70);    // front edge 40 from leftBound
    EXPECT_EQ(clamp(f1, f2, n, w, 10), 20);    // back edge on leftBound
    EXPECT_EQ(clamp(f1, f2, n, w, 750), 720);  // front edge 60 from rightBound...
    f2.x = 100;                                // ...wherever fighter 2 stands
    EXPECT_EQ(clamp(f1, f2, n, w, 750), 720);
    EXPECT_EQ(clamp(f1, f2, nullptr, w, 5000), 5000);  // no frame, no geometry
    EXPECT_EQ(clamp(f2, f1, w, nullptr, 10), 30);      // and no room taken
    level.rightBound = 100;  // too narrow for both rules: the front rule wins
    EXPECT_EQ(clamp(f2, f1, w, n, 90), 70);
}

TEST(HitScan, MirroredCellsRowBandAndScanOrder)
{
    HitMask body = makeMask(6, 20, [](int, int) { return std::pair{1, 0}; });
    HitMask strikes = makeMask(6, 20, [](int r, int c) {
        return std::pair{1, r == 2 && c == 4 ? 2 : r == 3 && c == 0 ? 6 : r == 10 && c == 1 ? 9 : 0};
    });
    HitMask dot = makeMask(6, 20, [](int r, int c) { return std::pair{r == 0 && c == 1, 0}; });
    PoseMask p1{6, 20, &strikes}, p2{6, 20, &body}, only{6, 20, &dot};
    // fighter 1, fighter 2, d, dy, lastHit 1, lastHit 2, landed
    for (auto [a, b, d, dy, last1, last2, landed] : {
             std::tuple{p1, p2, 5, 0, 0, 0, Strikes{2, 0}},  // row 2 comes first
             {p1, p2, 5, 0, 2, 0, Strikes{6, 0}},  // 2 landed before: 6 still can
             {p2, p1, 5, 0, 0, 0, Strikes{0, 2}},
             {p1, p2, 3, 0, 0, 0, Strikes{6, 0}},  // c = 4 lies beyond d
             {p1, only, 5, 2, 0, 0, Strikes{2, 0}},  // (r, c) meets (r - dy, d - c)
             {p1, only, 4, 2, 0, 0, Strikes{0, 0}},
             {p1, only, 2, 10, 0, 0, Strikes{9, 0}},  // row 10 meets row 0
             {PoseMask{40, 40, &body}, PoseMask{40, 40, &strikes}, 39, 0, 0, 0, Strikes{}},
             {PoseMask{6, 20, nullptr}, p1, 0, 0, 0, 0, Strikes{}},
             {PoseMask{4, 20, &strikes}, p2, 4, 0, 0, 0, Strikes{6, 0}}}) {  // mask too wide
        EXPECT_EQ(findStrikes(a, b, d, dy, last1, last2), landed) << d << " " << dy;
    }
}

// 30 x 10 pictures, body everywhere, hotspot (0, 0) unless given.
struct Hits : Fight {
    ScratchDir dir;
    PictureMaker pictures;
    std::vector<std::unique_ptr<Frame>> poses;
    void pose(Fighter& f, int strike, int hotspotX = 0)
    {
        const std::string name = "strike" + std::to_string(strike);
        auto image = pictures.make(name, 30, 10, [&](int, int) { return std::pair{1, strike}; });
        poses.push_back(makeFrame({.hotspotX = hotspotX}, std::move(image)));
        f.frame = poses.back().get();
    }
    void pass(std::uint32_t now) { resolveHits(f1, f2, now, decisionTime); }
};

TEST_F(Hits, GateAndOneLandingPerStrikeValue)
{
    pose(f1, 3, 20);
    pose(f2, 0, 10);
    f1.x = 300;  // X1 = 320
    f2.x = 331;  // X2 = 321: no test yet
    pass(100);
    EXPECT_EQ(f2.health, 100.0);
    f2.x = 330;  // D = 0
    pass(100);
    pass(200);  // the same value again in the same move: nothing
    EXPECT_EQ(f2.health, 90.0);
    pose(f1, 4, 20);
    pass(300);
    EXPECT_EQ(f2.health, 80.0);
    EXPECT_EQ(f1.lastHitRegion, 4);
    EXPECT_EQ(f2.history, (InputHistory{{}, {Hit}, {}, {Hit}}));
}

TEST_F(Hits, BothLandAndFighterOnesReactionComesFirst)
{
    pose(f1, 3);
    pose(f2, 5);
    f1.x = f2.x = 400;
    pass(100);
    EXPECT_EQ(f1.health, 90.0);
    EXPECT_EQ(f1.currentMove, rook->moves[0].get());
    EXPECT_EQ(f2.health, 70.0);  // the damage of fighter 1's reaction
}

TEST_F(Hits, BlockKnockOutOddHealthAndUntrimmedHistory)
{
    pose(f1, 3);
    pose(f2, 0);
    f1.x = f2.x = 400;
    for (int i = 0; i < 4; ++i) keyUp(f1, f2, 38, 50);
    f2.held = {Block, Attack};
    pass(100);
    EXPECT_EQ(f2.health, 100.0);
    EXPECT_EQ(f2.history[0], (ButtonSet{Block, Attack}));
    EXPECT_EQ(f2.history[1], (ButtonSet{Block, Hit, Attack}));

    const double nan = std::numeric_limits<double>::quiet_NaN();
    // health before, damage, health after, knocked out
    for (auto [before, damage, after, out] :
         {std::tuple{10.0, 10.0, 0.0, true}, {20.0, -5.0, 25.0, false}, {nan, 1.0, nan, true}}) {
        f2.held = {Attack};
        f2.health = before;
        f1.lastHitRegion = 0;
        decisionTime = 0;
        rook->moves[1]->damage = damage;
        pass(5000);
        EXPECT_TRUE(after == f2.health || (std::isnan(after) && std::isnan(f2.health)));
        EXPECT_EQ(f2.history[1], (ButtonSet{Attack, out ? KnockOut : Hit}));
        EXPECT_EQ(decisionTime, out ? 5000u : 0u);
    }
    // Four key events and four hits; only the next key event trims.
    EXPECT_EQ(f2.history.size(), 12u);
    keyUp(f1, f2, 38, 6000);
    ASSERT_EQ(f2.history.size(), 10u);
    EXPECT_EQ(f2.history[8], (ButtonSet{Block, Hit, Attack}));
}

}  // namespace
}  // namespace ib
