// The word-at-a-time hit scan against the cell-by-cell one.
#include <random>

#include <gtest/gtest.h>

#include "fight/hit_scan.h"
#include "support/fight_builders.h"

namespace ib {
namespace {

using namespace test;

struct RandomMasks {
    std::mt19937 random{20261206};

    int upTo(int n) { return std::uniform_int_distribution<int>(0, n)(random); }

    // Widths on and around word edges as well as any width up to 200.
    int side()
    {
        static constexpr int kEdges[] = {1, 63, 64, 65, 127, 128, 129, 192, 250};
        return upTo(1) ? kEdges[upTo(8)] : 1 + upTo(199);
    }

    // Empty, sparse, patchy and full planes, with one to three strike values.
    HitMask mask(int width, int height)
    {
        static constexpr int kPerMille[] = {0, 2, 30, 300, 1000};
        const int body = kPerMille[upTo(4)], strike = kPerMille[upTo(4)];
        const int values = 1 + upTo(2), first = 1 + upTo(28);
        HitMask m = makeMask(width, height, [&](int, int) {
            return std::pair{upTo(999) < body ? 1 + upTo(30) : 0,
                             upTo(999) < strike ? first + upTo(values - 1) : 0};
        });
        packHitMask(m);
        return m;
    }

    // The picture is the mask's size, or a little smaller or larger.
    int around(int n) { return upTo(3) == 0 ? std::max(0, n - 3 + upTo(6)) : n; }
};

TEST(PackedHitScan, AgreesWithTheCellScanOnRandomMasks)
{
    RandomMasks r;
    int landed = 0, passedOver = 0;
    for (int i = 0; i < 4000; ++i) {
        HitMask m1 = r.mask(r.side(), 1 + r.upTo(47));
        HitMask m2 = r.mask(r.side(), 1 + r.upTo(47));
        const PoseMask p1{r.around(m1.width), r.around(m1.height), &m1};
        const PoseMask p2{r.around(m2.width), r.around(m2.height), &m2};
        const std::int64_t d = r.upTo(p1.width + p2.width);
        const std::int64_t dy = r.upTo(p1.height + p2.height + 4) - p2.height - 2;
        // Often the value the scan would land first, so that it must go on.
        const Strikes first = findStrikes(p1, p2, d, dy, 0, 0);
        const std::int32_t last1 = r.upTo(1) ? first.byFighter1 : r.upTo(31);
        const std::int32_t last2 = r.upTo(1) ? first.byFighter2 : r.upTo(31);

        const Strikes want = findStrikes(p1, p2, d, dy, last1, last2);
        ASSERT_EQ(findStrikesPacked(p1, p2, d, dy, last1, last2), want) << "case " << i;  // seeded: repeatable
        landed += (want.byFighter1 != 0) + (want.byFighter2 != 0);
        passedOver += (first.byFighter1 != 0 && first.byFighter1 == last1 && want.byFighter1 != 0) +
                      (first.byFighter2 != 0 && first.byFighter2 == last2 && want.byFighter2 != 0);
    }
    // The cases must reach deep scans and candidates passed over, not only misses.
    EXPECT_GT(landed, 1500);
    EXPECT_GT(passedOver, 150);
}

TEST(PackedHitScan, LoadedMasksArePackedAndHandMadeOnesFallBack)
{
    ScratchDir dir;
    PictureMaker pictures;
    // Fighter 1 strikes with 4 at row 3, column 70 (in the second word).
    auto striker = pictures.make("striker", 130, 8, [](int r, int c) {
        return std::pair{0, r == 3 && c == 70 ? 4 : 0};
    });
    auto target = pictures.make("target", 130, 8, [](int, int) { return std::pair{1, 0}; });
    ASSERT_TRUE(striker->mask->isPacked());
    const PoseMask p1{130, 8, striker->mask}, p2{130, 8, target->mask};
    EXPECT_EQ(findStrikesPacked(p1, p2, 129, 0, 0, 0), (Strikes{4, 0}));  // misses: the random masks above

    HitMask loose =
        makeMask(130, 8, [](int r, int c) { return std::pair{1, r == 3 && c == 70 ? 4 : 0}; });
    ASSERT_FALSE(loose.isPacked());
    EXPECT_EQ(findStrikesPacked(PoseMask{130, 8, &loose}, p2, 129, 0, 0, 0), (Strikes{4, 0}));
}

}  // namespace
}  // namespace ib
