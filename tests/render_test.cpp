// Drawing the fight, checked on the pixels of the presented frame. The tiny
// game: grey background, white panel 40 high, red bars 201 x 10 at (10, 10)
// and (500, 10); fighter 1 (mirrored) covers columns 169..227 and fighter 2
// columns 569..627, rows 401..499, black bodies on magenta.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <map>

#include "support/draw_scene.h"
#include "sim/screenshot.h"

namespace ib::test {
namespace {

constexpr std::uint16_t kWhite = 0xFFDF, kRed = 0xF800;  // as the screen holds them

TEST(Render, HealthBarsShrinkTowardTheirAnchors)
{
    DrawScene s;
    struct Case { double h1, h2; int bar1End, bar2Start; };  // bar 2 always ends at 699
    for (Case c : {Case{100, 50, 210, 600}, Case{0, 150, 10, 500}, Case{-3, 0, 10, 700}}) {
        s.game.fight.fighter1->health = c.h1;
        s.game.fight.fighter2->health = c.h2;
        ASSERT_TRUE(s.pass());
        for (int x = 5; x < 715; ++x) {
            bool red = (x >= 10 && x < c.bar1End) || (x >= c.bar2Start && x < 700);
            ASSERT_EQ(s.at(x, 15), red ? kRed : kWhite) << "health " << c.h1 << "/" << c.h2 << " x " << x;
        }
    }
    // A bar the level file puts at the end of the 32-bit range lies off the
    // screen: the copy is refused and the pass ends without a frame.
    s.game.fight.fighter1->health = s.game.fight.fighter2->health = 100;
    s.game.content.level->bar1X = std::numeric_limits<std::int32_t>::max();
    EXPECT_FALSE(s.pass());
    s.game.content.level->bar1X = 10;
    s.game.content.level->bar2X = std::numeric_limits<std::int32_t>::min();
    EXPECT_FALSE(s.pass());
    EXPECT_EQ(healthBarLength(201, 100.0), 200);
    EXPECT_EQ(healthBarLength(201, 99.9), 199);
    EXPECT_EQ(healthBarLength(201, 1e300), 200);
    EXPECT_EQ(healthBarLength(201, std::nan("")), 0);
    EXPECT_EQ(healthBarLength(1, 100.0), 0);
}

TEST(Render, FightersAreCutToThePlayAreaMirroredOrNot)
{
    DrawScene s;
    Surface& pose = *s.game.fight.fighter1->frame->image->surface;
    for (int y = 0; y < pose.height(); ++y)
        for (int x = 0; x < pose.width(); ++x) pose.data()[y * pose.width() + x] = 0x0100 + x;
    Level& level = *s.game.content.level;
    level.leftBound = 190;
    level.rightBound = 210;  // fighter 2 lies wholly outside
    level.playHeight = 450;
    for (int facing : {-1, +1}) {  // the picture starts at column 169 either way
        s.game.fight.fighter1->facing = facing;
        ASSERT_TRUE(s.pass()) << "the pass goes on past a fighter that is not drawn";
        for (int x = 150; x < 240; ++x) {
            int column = facing == -1 ? 58 - (x - 169) : x - 169;
            bool shown = x >= 190 && x < 210;
            ASSERT_EQ(s.at(x, 420), shown ? 0x0100 + column : kBackgroundColour) << facing << " " << x;
        }
        EXPECT_EQ(s.at(200, 449), s.at(200, 420));
        EXPECT_EQ(s.at(200, 450), kBackgroundColour);
        EXPECT_EQ(s.game.screen.screenRect[0], (Rect{190, 401, 210, 450}));
        EXPECT_EQ(s.at(598, 420), kBackgroundColour);
    }
    // Places at the ends of the 32-bit range, from odd Frames or a play area
    // reaching down that far: nothing of the fighter is drawn, the pass goes on.
    constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    level.playHeight = kMax;
    for (auto [x, facing] : {std::pair{kMin, -1}, {kMin, 1}, {kMax, -1}, {kMax, 1}}) {
        s.game.fight.fighter1->x = x;
        s.game.fight.fighter1->facing = facing;
        ASSERT_TRUE(s.pass()) << x << " " << facing;
        EXPECT_EQ(s.at(200, 420), kBackgroundColour) << x << " " << facing;
    }
}

// A fighter against itself: player 2 is drawn red for blue, its
// see-through colour still see-through; against another fighter, as it is.
TEST(Render, TheSameFighterTwiceIsDrawnInASecondColour)
{
    DrawScene s;
    Surface& pose = *s.game.fight.fighter1->frame->image->surface;
    for (int y = 0; y < pose.height(); ++y)
        for (int x = 0; x < pose.width(); ++x) pose.data()[y * pose.width() + x] = y == 0 ? pose.colorKey() : kRed;
    ASSERT_TRUE(s.pass());
    EXPECT_NE(s.at(598, 420), kRed);  // quill's own picture
    s.game.fight.fighter2.emplace(*s.game.content.characters[0], *s.game.content.level, Side::Right);
    s.game.fight.fighter2->advanceAnimation(0);
    for (int round = 0; round < 2; ++round) {  // the copy is made once and kept
        ASSERT_TRUE(s.pass());
        EXPECT_EQ(s.at(200, 420), kRed);
        EXPECT_EQ(s.at(598, 420), 0x001F);
        EXPECT_EQ(s.at(598, 401), kBackgroundColour);
    }
    EXPECT_EQ(s.game.screen.secondColours.size(), 1u);
}

TEST(Render, ASurfaceLossDropsOneFrameAndTheClockIsReadOncePerPass)
{
    DrawScene s;
    ASSERT_TRUE(s.pass());
    const std::uint16_t* frame = s.game.screen.primarySurface->data();
    const std::vector<std::uint16_t> whole(frame, frame + 800 * 600);
    // The fight's pass reads the clock once, whether or not its frame is
    // presented.
    const auto fightPass = [&] {
        const int before = s.platform.framesPresented();
        ib::fightPass(s.game);
        return s.platform.framesPresented() == before + 1;
    };
    s.game.screen.directDraw->loseSurfaces();
    EXPECT_FALSE(fightPass());
    EXPECT_EQ(s.game.fight.currentTime, 1001u);
    s.game.screen.directDraw->stillDrawing(5);
    EXPECT_TRUE(fightPass());
    EXPECT_EQ(s.game.fight.currentTime, 1002u);
    EXPECT_EQ(s.platform.readings, 2);
    EXPECT_TRUE(std::equal(whole.begin(), whole.end(), s.game.screen.primarySurface->data()));
}

TEST(Render, OnlyTheFirstPassClearsBothPages)
{
    DrawScene s;
    s.game.content.level->background = nullptr;  // a missing layer is left out, the frame goes on
    s.game.content.level->panel = nullptr;
    s.game.fight.fighter2->frame = nullptr;
    auto dirty = [&] {
        for (Surface* page : {s.game.screen.primarySurface.get(), s.game.screen.backBuffer.get()})
            std::fill(page->data(), page->data() + 800 * 600, std::uint16_t{0x1234});
    };
    dirty();
    ASSERT_TRUE(s.pass());
    for (Surface* page : {s.game.screen.primarySurface.get(), s.game.screen.backBuffer.get()}) {
        EXPECT_EQ(page->pixel(400, 300), 0);
        EXPECT_EQ(page->pixel(798, 300), 0);
        EXPECT_EQ(page->pixel(799, 300), 0x1234);
        EXPECT_EQ(page->pixel(400, 599), 0x1234);
    }
    dirty();
    ASSERT_TRUE(s.pass());
    EXPECT_EQ(s.at(400, 300), 0x1234);
}

// Whole frames against tests/golden/frames.txt (FNV-1a of the pixels);
// INKBLOT_UPDATE_GOLDEN=1 rewrites the file (tests/golden/regenerate.sh).
TEST(RenderGolden, Frames)
{
    const std::string path = INKBLOT_SOURCE_DIR "/tests/golden/frames.txt";
    const bool update = std::getenv("INKBLOT_UPDATE_GOLDEN") != nullptr;
    std::map<std::string, std::uint64_t> want, got;
    std::ifstream in(path);
    std::string name;
    std::uint64_t hash = 0;
    in.ignore(1000, '\n');
    while (in >> name >> hash) want[name] = hash;

    DrawScene s;
    auto shoot = [&](const std::string& name) {
        ASSERT_TRUE(s.pass());
        std::uint64_t h = 14695981039346656037ull;
        for (int i = 0; i < 800 * 600; ++i) h = (h ^ s.game.screen.primarySurface->data()[i]) * 1099511628211ull;
        got[name] = h;
        if (update || want[name] == h) return;
        const std::string png = ::testing::TempDir() + "golden-" + name + ".png";
        sim::writePng(*s.game.screen.primarySurface, png);
        ADD_FAILURE() << "frame " << name << " differs from its golden; it is in " << png;
    };
    shoot("fight");
    s.game.fight.fighter1->health = 50;
    s.game.fight.fighter2->health = 150;
    s.game.fight.fighter1->x = 20;
    s.game.screen.slowMode = true;
    shoot("slow-hurt-clipped");
    if (std::ifstream("/usr/share/fonts/opentype/comic-neue/ComicNeue-Regular.otf")) {
        s.game.content.quoteBook = {"Ink never dries.\nBlot out!"};
        s.game.fight.activeQuote = {1000, 0, 2};
        shoot("quote");
    }
    if (update) {
        std::ofstream out(path);
        out << "# FNV-1a 64 of each presented 800x600 frame; tests/golden/regenerate.sh rewrites it\n";
        for (auto& [n, h] : got) out << n << ' ' << h << '\n';
    }
}

}  // namespace
}  // namespace ib::test
