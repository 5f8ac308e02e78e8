// The quotes: reading the file, choosing one now and then, showing it above
// its speaker, and laying its text out in the 127 x 200 box.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <tuple>
#include <utility>
#include <vector>

#include "app/quote_layout.h"
#include "fight/fight_step.h"
#include "fight/quote_choice.h"
#include "support/draw_scene.h"
#include "support/tiny_game.h"

namespace ib::test {
namespace {

const char* const kComicNeue = "/usr/share/fonts/opentype/comic-neue/ComicNeue-Regular.otf";

QuoteBook read(const std::string& text)
{
    ScratchDir dir;
    writeFile("stuff.quotes", text);
    QuoteBook book{"left over"};
    loadQuotes(book);
    return book;
}

TEST(Quotes, ReaderKeepsEveryQuoteAndNoEmptyOne)
{
    EXPECT_EQ(read("A\n\nB\n"), (QuoteBook{"B", "A"}));
    EXPECT_EQ(read("A\n\nB"), (QuoteBook{"B", "A"}));
    EXPECT_EQ(read("\n\nA\n\n\n \t\nB\n\n\n"), (QuoteBook{"B", "A"}));
    EXPECT_EQ(read("one\r\ntwo\r\nthree\r\n\r\nX"), (QuoteBook{"X", "one\ntwo\nthree"}));
    const std::string longLine(600, 'w');
    EXPECT_EQ(read(longLine + "\n"), (QuoteBook{longLine}));
    EXPECT_EQ(read(""), QuoteBook{});  // a missing file: Shell.MissingScreenPicturesLeaveTheScreenBlack
}

// When a quote is due, who says it and which (the random stream drawn
// while one is shown too) are pinned by the golden "everything" trace; a
// book of one still speaks whenever a quote is due, an empty one never.
TEST(Quotes, ABookOfOneSpeaksWhenAQuoteIsDue)
{
    FightState f;
    f.quoteFirstCall = false;
    f.quoteRandom.seed(1);
    f.currentTime = 20000;  // r1 = 41: due after 12.5 ms
    EXPECT_FALSE(chooseQuote(f, 0)) << "an empty book says nothing";
    f.quoteRandom.seed(1);
    f.lastQuoteCheck = 0;
    EXPECT_TRUE(chooseQuote(f, 1));
    EXPECT_EQ(f.activeQuote.text, 0);
}

int inkOnScreen(const Surface& page)
{
    int n = 0;
    for (int i = 0; i < 800 * 600; ++i) n += page.data()[i] == 0 ? 1 : 0;
    return n;
}

TEST(Quotes, ShownWhileAtMost2300MsOldAndOnlyWhollyOnScreen)
{
    DrawScene s;
    if (!s.game.screen.quoteFont || !std::ifstream(kComicNeue)) GTEST_SKIP() << "Comic Neue not installed";
    Game& g = s.game;
    Surface& back = *g.screen.backBuffer;
    // Drawing leaves an old quote out; the fight's pass then ends it.
    auto drawnAt = [&](std::uint32_t t) {
        std::fill(back.data(), back.data() + 800 * 600, kBackgroundColour);
        g.fight.currentTime = t;
        drawQuote(g.screen, g.content, g.fight);
        expireQuote(g.fight);
        return inkOnScreen(back);
    };
    g.content.quoteBook = {"Ink never dries."};
    // A clock about to wrap: 2300 ms on is still shown, 2301 is not.
    g.fight.activeQuote = {0xFFFFFF00u, 0, 2};
    EXPECT_GT(drawnAt(0xFFFFFF00u + 2300), 50);
    EXPECT_EQ(drawnAt(0xFFFFFF00u + 2301), 0);
    EXPECT_EQ(g.fight.activeQuote.startTime, 0u);

    g.fight.activeQuote = {5000, 0, 1};
    g.fight.fighter1->x = 63;  // the box would start at column -1
    EXPECT_EQ(drawnAt(5000), 0);
    EXPECT_EQ(g.fight.activeQuote.startTime, 5000u);
    // Fighters at the ends of the 32-bit range put the box off the screen,
    // not past the range (the sanitizer build catches an overflow here).
    for (auto [x, y] : {std::pair{INT32_MIN, 0}, std::pair{INT32_MAX, INT32_MAX},
                        std::pair{300, INT32_MIN}}) {
        g.fight.fighter1->x = x;
        g.fight.fighter1->y = y;
        EXPECT_EQ(drawnAt(5000), 0) << x << "," << y;
    }
    g.fight.fighter1->y = g.fight.fighter2->y;
    g.screen.quoteSurface = nullptr;
    g.screen.quoteFont = nullptr;
    g.fight.fighter1->x = 300;
    EXPECT_EQ(drawnAt(5000), 0);
}

// The game on one machine ends a quote in the first pass whose frame
// reaches it past its time: a display lost in that pass drops the frame and
// shows the quote one pass longer. Online nothing waits for a frame.
TEST(Quotes, AQuoteEndsOnlyWhenItsFrameReachesIt)
{
    // The clock of the pass that ended a quote started at the fight's first
    // pass; the display is lost at `lossAt` (0: never).
    auto endedAt = [](std::uint32_t lossAt) {
        ScratchDir dir;
        TinyGameOptions options;
        options.quotes = false;  // no other quote starts
        writeTinyGame(options);
        std::vector<ScriptEvent> script{keyDown(1000, 'B')};
        if (lossAt) script.push_back(event(lossAt, ScriptEvent::Kind::LoseSurfaces));
        TinyRun r(script, 1000);
        std::uint32_t ended = 0;
        bool started = false;
        r.platform.onPassEnd = [&] {
            FightState& f = r.game->fight;
            if (f.gameState != GameState::Fight) return true;
            if (!started) f.activeQuote = {f.currentTime, 0, 1};
            started = true;
            if (f.activeQuote.startTime != 0) return true;
            ended = f.currentTime;
            return false;
        };
        r.run();
        return ended;
    };
    const std::uint32_t ended = endedAt(0);
    ASSERT_GT(ended, 1000u + 2300u);
    EXPECT_EQ(endedAt(ended), ended + 16);
    EXPECT_EQ(endedAt(ended - 16), ended) << "a frame dropped before its time changes nothing";

    FightState f;
    FightRules offline;
    offline.quoteEndsWhenDrawn = true;
    const auto dropped = [&](const FightRules& rules, std::uint32_t clock) {
        finishFightStep(f, rules, beginFightStep(f, rules, clock, {}, nullptr), false, nullptr);
    };
    f.activeQuote = {1000, 0, 1};
    dropped(offline, 3301);
    EXPECT_EQ(f.activeQuote.startTime, 1000u);
    dropped(FightRules{}, 3317);
    EXPECT_EQ(f.activeQuote.startTime, 0u) << "online: by the clock alone";
    f.activeQuote = {1000, 0, 1};
    fightStep(f, offline, 3333);
    EXPECT_EQ(f.activeQuote.startTime, 0u) << "a step that draws nothing";
}

TEST(QuoteLayout, WrapsBetweenWordsCentresAndNeverSplitsAWord)
{
    auto tenEach = [](std::string_view s) { return static_cast<int>(s.size()) * 10; };
    auto lay = [&](std::string_view text) {
        std::vector<std::tuple<std::string, int, int>> out;
        for (const TextLine& l : layoutText(text, 127, 23, tenEach)) out.emplace_back(l.text, l.x, l.y);
        return out;
    };
    using L = std::vector<std::tuple<std::string, int, int>>;
    EXPECT_EQ(lay("aaa bbb ccc"), (L{{"aaa bbb ccc", 8, 0}}));
    EXPECT_EQ(lay("aaaaa bbbbb ccccc"), (L{{"aaaaa bbbbb", 8, 0}, {"ccccc", 38, 23}}));
    EXPECT_EQ(lay("hi\r\nyo  you  "), (L{{"hi", 53, 0}, {"yo  you", 28, 23}}));
    EXPECT_EQ(lay("hi xxxxxxxxxxxxxxxxxxxx yo"),
              (L{{"hi", 53, 0}, {"xxxxxxxxxxxxxxxxxxxx", -36, 23}, {"yo", 53, 46}}));

    // Only the lines the box can show are laid out: a quotes file of half
    // a million words costs no more than one of nine lines.
    std::string words;
    for (int i = 0; i < 500000; ++i) words += "ab ";
    int measured = 0;
    auto counting = [&](std::string_view s) {
        ++measured;
        return tenEach(s);
    };
    const auto nine = layoutText(words, 127, 23, counting, 9);
    ASSERT_EQ(nine.size(), 9u);
    EXPECT_EQ(nine[8].text, "ab ab ab ab");
    EXPECT_LT(measured, 100);
}

// The box is drawn once per text: frames after the first show the same
// pixels, another text or a surface loss draws it again.
TEST(Quotes, ABoxKeptFromFrameToFrameShowsWhatADrawnOneWould)
{
    DrawScene s;
    if (!s.game.screen.quoteFont || !std::ifstream(kComicNeue)) GTEST_SKIP() << "Comic Neue not installed";
    Game& g = s.game;
    Surface& back = *g.screen.backBuffer;
    g.content.quoteBook = {"Ink never dries.", "Blot out!"};
    auto frame = [&](std::uint32_t t) {
        std::fill(back.data(), back.data() + 800 * 600, kBackgroundColour);
        g.fight.currentTime = t;
        drawQuote(g.screen, g.content, g.fight);
        return std::vector<std::uint16_t>(back.data(), back.data() + 800 * 600);
    };
    auto fresh = [&](std::int32_t text) {
        g.screen.quoteSurface->setDrawnTag("");
        g.fight.activeQuote = {5000, text, 2};
        return frame(5000);
    };
    const auto ink = fresh(0), blot = fresh(1);
    ASSERT_NE(ink, blot);
    g.fight.activeQuote = {5000, 0, 2};
    EXPECT_EQ(frame(5000), ink);
    EXPECT_EQ(frame(5016), ink) << "kept";
    g.fight.activeQuote.text = 1;
    EXPECT_EQ(frame(5032), blot) << "another text";
    g.screen.directDraw->loseSurfaces();
    ASSERT_EQ(restoreAllSurfaces(g.screen.primarySurface.get(), g.screen.images), DD_OK);
    g.screen.quoteSurface->restore();
    EXPECT_EQ(frame(5048), blot) << "after a loss";
}

TEST(QuoteLayout, DrawsAtMostTheFirst4096BytesOfAQuote)
{
    auto font = Font::openQuoteFont(23);
    if (!font) GTEST_SKIP() << "no quote font";
    auto device = std::make_shared<DisplayDevice>();
    std::shared_ptr<Surface> whole, cut;
    device->createSurface(127, 200, whole);
    device->createSurface(127, 200, cut);
    const Rect box{0, 0, 127, 200};
    // A word of a million letters is drawn as its first 4096, centred;
    // a UTF-8 letter on the cut is left out whole.
    const std::string word = std::string(4095, 'w') + "\xc3\xa9" + std::string(1000000, 'w');
    drawTextBox(*font, *whole, box, word, 0xFFFF);
    drawTextBox(*font, *cut, box, std::string(4095, 'w'), 0xFFFF);
    EXPECT_TRUE(std::equal(whole->data(), whole->data() + 127 * 200, cut->data()));
    EXPECT_NE(std::count(cut->data(), cut->data() + 127 * 200, 0xFFFF), 0);
}

TEST(QuoteFont, SolidLettersInsideTheClip)
{
    EXPECT_EQ(Font::open("no-such-font.ttf", 23), nullptr);
    auto font = Font::openQuoteFont(23);
    if (!font || !std::ifstream(kComicNeue)) GTEST_SKIP() << "Comic Neue not installed";
    EXPECT_GT(font->measure("Ink never"), font->measure("Ink") + 20);
    EXPECT_EQ(font->measure("caf\xe9"), font->measure("caf\xc3\xa9")) << "Latin-1 read as such";
    auto device = std::make_shared<DisplayDevice>();
    std::shared_ptr<Surface> box;
    device->createSurface(200, 40, box);
    std::fill(box->data(), box->data() + 200 * 40, std::uint16_t{0xF81F});
    font->drawLine(*box, 5, 2, "Ink never dries", 0, Rect{10, 0, 60, 40});
    int ink = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 200; ++x) {
            std::uint16_t p = box->pixel(x, y);
            ASSERT_TRUE(p == 0xF81F || (p == 0 && x >= 10 && x < 60 && y >= 2 && y < 25)) << x << "," << y;
            ink += p == 0;
        }
    EXPECT_GT(ink, 30);
}

}  // namespace
}  // namespace ib::test
