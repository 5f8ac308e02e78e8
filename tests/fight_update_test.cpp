// Walls, the push-apart and pixel hits.
#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "fight/hit_scan.h"
#include "support/fight_builders.h"

namespace ib {
namespace {

using test::FrameSpec;
using test::makeAnimation;
using test::makeCharacter;
using test::makeFrame;
using test::makeLevel;
using test::makeMove;
using test::makeMask;

// Fighter 1 (facing -1) and fighter 2 (facing +1) in their default moves:
// fighter 1 reacts to a hit with a move of damage 30, and both stand still
// with damage 10 otherwise.
struct Fight : testing::Test {
    std::unique_ptr<Character> rook = makeCharacter(
        makeMove({{Hit}}, 1, 30, makeAnimation(false, {{}})),
        makeMove({}, 0, 10, makeAnimation(true, {{.frontColumn = 0, .backColumn = 20}})));
    std::unique_ptr<Character> quill = makeCharacter(
        makeMove({}, 0, 10, makeAnimation(true, {{.frontColumn = 0, .backColumn = 20}})));
    Level level = makeLevel(0, 800);
    Fighter f1{*rook, level, Side::Left}, f2{*quill, level, Side::Right};
    std::uint32_t decisionTime = 0;
};

TEST_F(Fight, PushApartMovesEachBackByHalfTheOverlap)
{
    moveFighters(f1, f2, level, 0);
    for (auto [x1, x2, after1, after2] : {std::array{410, 405, 408, 407},
                                          std::array{406, 405, 406, 405},
                                          std::array{300, 500, 300, 500}}) {
        f1.x = x1;  // front edges lie at x
        f2.x = x2;
        moveFighters(f1, f2, level, 10);
        EXPECT_EQ(f1.x, after1);
        EXPECT_EQ(f2.x, after2);
    }
}

TEST_F(Fight, WallsAndTheOthersBodyWidth)
{
    // Body width 40 for fighter 1 and 60 for fighter 2.
    auto narrow = makeFrame({.hotspotX = 20, .frontColumn = 0, .backColumn = 40});
    auto wide = makeFrame({.hotspotX = 30, .frontColumn = 0, .backColumn = 60});
    f1.frame = narrow.get();
    f2.frame = wide.get();
    auto clamp = [&](Fighter& a, const Fighter& b, int x) {
        a.x = x;
        keepInBounds(a, b, level);
        return a.x;
    };
    EXPECT_EQ(clamp(f2, f1, 790), 770);  // back edge on rightBound
    EXPECT_EQ(clamp(f2, f1, 770), 770);
    EXPECT_EQ(clamp(f2, f1, 50), 70);  // front edge 40 from leftBound
    EXPECT_EQ(clamp(f1, f2, 10), 20);  // back edge on leftBound
    for (int where : {100, 700}) {
        f2.x = where;  // only fighter 2's width counts, not where it is
        EXPECT_EQ(clamp(f1, f2, 750), 720);  // front edge 60 from rightBound
    }
    f1.frame = nullptr;  // nothing to keep in; no room taken
    EXPECT_EQ(clamp(f1, f2, 5000), 5000);
    EXPECT_EQ(clamp(f2, f1, 10), 30);
    level.rightBound = 100;  // too narrow for both rules: the front rule wins
    f1.frame = narrow.get();
    EXPECT_EQ(clamp(f2, f1, 90), 70);
}

TEST(HitScan, MirroredCellsRowBandAndScanOrder)
{
    auto full = [](int, int) { return std::pair{1, 0}; };
    HitMask body = makeMask(6, 20, full);
    // Fighter 1's cell (r, c) meets fighter 2's cell (r - dy, d - c).
    HitMask strikes = makeMask(6, 20, [](int r, int c) {
        return std::pair{1, r == 2 && c == 4 ? 2 : r == 3 && c == 0 ? 6 : r == 10 && c == 1 ? 9 : 0};
    });
    HitMask oneCell = makeMask(6, 20, [](int r, int c) { return std::pair{r == 0 && c == 1, 0}; });
    PoseMask p1{6, 20, &strikes}, p2{6, 20, &body}, only{6, 20, &oneCell};
    EXPECT_EQ(findStrikes(p1, p2, 5, 0, 0, 0), (Strikes{2, 0}));  // row 2 comes first
    EXPECT_EQ(findStrikes(p1, p2, 5, 0, 2, 0), (Strikes{6, 0}));  // 2 landed before
    EXPECT_EQ(findStrikes(p2, p1, 5, 0, 0, 0), (Strikes{0, 2}));
    EXPECT_EQ(findStrikes(p1, p2, 3, 0, 0, 0), (Strikes{6, 0}));  // c = 4 lies outside
    EXPECT_EQ(findStrikes(p1, only, 5, 2, 0, 0), (Strikes{2, 0}));  // (2, 4) meets (0, 1)
    EXPECT_EQ(findStrikes(p1, only, 4, 2, 0, 0), (Strikes{0, 0}));
    EXPECT_EQ(findStrikes(p1, only, 2, 10, 0, 0), (Strikes{9, 0}));  // row 10 meets row 0
    // A picture wider or taller than its mask: the missing values are 0.
    EXPECT_EQ(findStrikes(PoseMask{40, 40, &body}, PoseMask{40, 40, &strikes}, 39, 0, 0, 0),
              (Strikes{0, 0}));
    EXPECT_EQ(findStrikes(PoseMask{6, 20, nullptr}, p1, 0, 0, 0, 0), (Strikes{0, 0}));
    // A mask wider than its picture: cells beyond the picture take no part.
    EXPECT_EQ(findStrikes(PoseMask{4, 20, &strikes}, p2, 4, 0, 0, 0), (Strikes{6, 0}));
}

// Both pictures 30 x 10 with hotspot (0, 0): picture column 0 lies at x.
struct Hits : Fight {
    test::ScratchDir dir;
    test::PictureMaker pictures;
    std::vector<std::unique_ptr<Frame>> poses;
    void pose(Fighter& f, const std::string& name, int strike, int hotspotX = 0)
    {
        auto image = pictures.make(name, 30, 10, [&](int, int) { return std::pair{1, strike}; });
        poses.push_back(makeFrame({.hotspotX = hotspotX}, std::move(image)));
        f.frame = poses.back().get();
    }
    void pass(std::uint32_t now) { resolveHits(f1, f2, now, decisionTime); }
};

TEST_F(Hits, GateOnColumnZeroAndOneLandingPerStrikeValue)
{
    pose(f1, "a3", 3, 20);
    pose(f2, "quiet", 0, 10);
    f1.x = 300;  // X1 = 320
    f2.x = 331;  // X2 = 321: not met yet
    pass(100);
    EXPECT_EQ(f2.health, 100.0);
    f2.x = 330;  // D = 0
    pass(100);
    pass(200);  // same value, same move: nothing
    EXPECT_EQ(f2.health, 90.0);
    EXPECT_EQ(f1.lastHitRegion, 3);
    EXPECT_EQ(f2.history.size(), 2u);
    pose(f1, "a4", 4, 20);
    pass(300);
    EXPECT_EQ(f2.health, 80.0);
    EXPECT_EQ(f2.history, (InputHistory{{}, {Hit}, {}, {Hit}}));
    EXPECT_EQ(decisionTime, 0u);
}

TEST_F(Hits, BothLandAndFighterOnesReactionComesFirst)
{
    pose(f1, "a3", 3);
    pose(f2, "a5", 5);
    f1.x = f2.x = 400;
    pass(100);
    EXPECT_EQ(f1.health, 90.0);
    EXPECT_EQ(f1.currentMove, rook->moves[0].get());
    EXPECT_EQ(f2.health, 70.0);  // the reaction move's damage
    EXPECT_EQ(f1.lastHitRegion, 3);
    EXPECT_EQ(f2.lastHitRegion, 5);
}

TEST_F(Hits, BlockKnockOutAndOddHealth)
{
    pose(f1, "a3", 3);
    pose(f2, "quiet", 0);
    f1.x = f2.x = 400;
    f2.held = {Block, Attack};
    pass(100);
    EXPECT_EQ(f2.health, 100.0);
    EXPECT_EQ(f2.history, (InputHistory{{Block, Attack}, {Block, Hit, Attack}}));

    const double nan = std::numeric_limits<double>::quiet_NaN();
    // health before, damage, health after, knocked out
    for (auto [before, damage, after, out] : {std::tuple{10.0, 10.0, 0.0, true},
                                              {20.0, -5.0, 25.0, false},
                                              {nan, 1.0, nan, true}}) {
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
}

TEST_F(Hits, HitsAddTwoSnapshotsAndTheNextKeyTrims)
{
    pose(f1, "a3", 3);
    pose(f2, "quiet", 0);
    f1.x = f2.x = 400;
    for (int i = 0; i < 5; ++i) {
        handleKeyDown(f1, f2, 38, 10);
        handleKeyUp(f1, f2, 38, 10);
    }
    ASSERT_EQ(f2.history.size(), 10u);
    for (int i = 0; i < 3; ++i) {
        f1.lastHitRegion = 0;
        pass(20);
    }
    EXPECT_EQ(f2.history.size(), 16u);
    handleKeyDown(f1, f2, 191, 30);
    ASSERT_EQ(f2.history.size(), 10u);
    EXPECT_EQ(f2.history[0], (ButtonSet{Attack}));
    EXPECT_EQ(f2.history[1], (ButtonSet{}));
    EXPECT_EQ(f2.history[2], (ButtonSet{Hit}));
}

}  // namespace
}  // namespace ib
