// The content the game ships with, as the build drew it: it must load, and
// every move must be able to play and (for attacks) to land.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <set>

#include "app/quotes.h"
#include "content/content.h"
#include "content/content_error.h"
#include "content/content_warnings.h"
#include "fight/fighter.h"

namespace {

namespace fs = std::filesystem;

// The base names of the files with that extension in the current folder.
std::vector<std::string> namesWith(const std::string& extension)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator("."))
        if (entry.path().extension() == extension) names.push_back(entry.path().stem().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Loads from the build's data directory, as the game does from its working
// directory.
class DefaultContent : public ::testing::Test {
protected:
    void SetUp() override
    {
        previous_ = fs::current_path();
        fs::current_path(INKBLOT_DATA_DIR);
    }
    void TearDown() override { fs::current_path(previous_); }

    std::unique_ptr<ib::Character> character(const std::string& name)
    {
        ib::LoadContext ctx{*device_, registry_};
        return ib::loadCharacter(ctx, name);
    }
    std::shared_ptr<ib::DisplayDevice> device_ = std::make_shared<ib::DisplayDevice>();
    ib::ImageRegistry registry_;
    fs::path previous_;
};

// The move sets played through the game's own move recognition.
class DefaultMoves : public DefaultContent {
protected:
    void SetUp() override
    {
        DefaultContent::SetUp();
        ib::LoadContext ctx{*device_, registry_};
        level_ = ib::loadLevel(ctx, "desert");
    }
    // A fresh fighter of the Character on the right-hand side (facing +1).
    std::unique_ptr<ib::Fighter> fighter(const ib::Character& c)
    {
        return std::make_unique<ib::Fighter>(c, *level_, ib::Side::Right);
    }
    // Adds snapshots as key events or hits would, recognising after each.
    void feed(ib::Fighter& f, std::initializer_list<ib::ButtonSet> snapshots)
    {
        for (const auto& s : snapshots) {
            f.history.push_front(s);
            f.recognizeMove(now_ += 16);
        }
    }
    static std::string moveName(const ib::Move* m) { return m ? m->name : "none"; }

    std::unique_ptr<ib::Level> level_;
    std::uint32_t now_ = 1000;
};

TEST_F(DefaultMoves, PressAndReleaseSequencesPickTheIntendedMoves)
{
    using S = ib::ButtonSet;
    for (const std::string& name : namesWith(".Character")) {
        SCOPED_TRACE(name);
        auto c = character(name);
        struct Case {
            std::vector<S> snapshots;
            std::string current, pending;
        };
        const Case cases[] = {
            {{{1}}, "walk", "stance"},                      // hold forward: walk
            {{{1}, {}}, "stance", "stance"},                 // release: stand at once
            {{{2}}, "back", "stance"},
            {{{6}, {}}, "punch", "stance"},                  // releasing does not cut the punch
            {{{2, 6}}, "punch", "stance"},
            {{{1}, {1, 6}, {1}}, "kick", "walk"},            // still walking after the kick
            {{{4}, {4, 6}, {4}}, "low", "crouch"},
            {{{4}, {1, 4}, {1}, {1, 6}}, "special", "stance"},
            {{{4}, {1, 4}, {1, 4, 6}}, "special-held", "stance"},
            {{{5}}, "block", "stance"},
            {{{5}, {5, 6}}, "block", "stance"},             // no attacking through a block
            {{{3}, {}}, "jump", "stance"},
            {{{6}, {7}, {}}, "hit", "stance"},               // a hit cuts into an attack
            {{{5}, {5, 7}, {5}}, "blocked", "block"},
        };
        std::vector<Case> all(std::begin(cases), std::end(cases));
        auto has = [&](const std::string& move) {
            return std::any_of(c->moves.begin(), c->moves.end(), [&](auto& m) { return m->name == name + "-" + move; });
        };
        if (has("leap")) all.push_back({{{6}, {3, 6}, {3}, {}}, "leap", "stance"});  // attack, then up
        if (has("dash")) all.push_back({{{1}, {}, {1}}, "dash", "stance"});  // forward twice
        for (const Case& k : all) {
            auto f = fighter(*c);
            for (const S& s : k.snapshots) feed(*f, {s});
            EXPECT_EQ(moveName(f->currentMove), name + "-" + k.current) << "after " << k.snapshots.size() << " snapshots";
            EXPECT_EQ(moveName(f->pendingMove), name + "-" + k.pending);
        }
    }
}

TEST_F(DefaultMoves, HitsPickAReactionWhateverIsHeld)
{
    for (const std::string& name : namesWith(".Character")) {
        auto c = character(name);
        // Every combination of the six buttons a player can hold.
        for (std::uint32_t bits = 0; bits < 64; ++bits) {
            ib::ButtonSet held;
            for (int code = 1; code <= 6; ++code)
                if (bits >> (code - 1) & 1) held.add(code);
            SCOPED_TRACE(name + " holding " + std::to_string(bits));
            for (int event : {ib::Hit, ib::KnockOut}) {
                auto f = fighter(*c);
                ib::ButtonSet struck = held;
                struck.add(event);
                feed(*f, {struck, held});
                // A knock-out while blocking cannot happen: blocked hits cost nothing.
                if (event == ib::KnockOut && held.contains(ib::Block)) continue;
                std::string expected = event == ib::KnockOut         ? "knockout"
                                       : held.contains(ib::Block) ? "blocked"
                                       : held.contains(ib::Up)    ? "jump"  // holding up leaps away at once
                                                                  : "hit";
                EXPECT_EQ(moveName(f->currentMove), name + "-" + expected);
            }
        }
    }
}

TEST_F(DefaultMoves, KnockOutDuringAJumpWaitsForTheLandingAndSticks)
{
    for (const std::string& name : namesWith(".Character")) {
        auto c = character(name);
        auto f = fighter(*c);
        feed(*f, {{3}});
        ASSERT_EQ(moveName(f->currentMove), name + "-jump");
        // Knocked out in the air, then four more key events before landing.
        feed(*f, {{3, 8}, {3}, {}, {6}, {}, {1}});
        EXPECT_EQ(moveName(f->currentMove), name + "-jump");
        EXPECT_EQ(moveName(f->pendingMove).rfind(name + "-knockout", 0), 0u) << moveName(f->pendingMove);
    }
}

// Every move of every fighter: the default move loops, walks and reactions
// step the right way, nothing ends in the air, a move strikes exactly when
// the attack button makes it, and only a special lands more than once; a
// knock-out outlasts the fight.
TEST_F(DefaultMoves, StepsPointTheRightWayOnlyAttacksStrikeAndAKnockOutStaysDown)
{
    for (const std::string& name : namesWith(".Character")) {
        auto c = character(name);
        EXPECT_NE(c->defaultMove()->animation->loops, 0) << "the default move must loop";
        EXPECT_EQ(c->defaultMove()->stepCount, 0);
        for (const auto& m : c->moves) {
            SCOPED_TRACE(m->name);
            int dx = 0, dy = 0;
            std::set<int> values;
            for (const auto& fr : m->animation->frames) {
                dx += fr->dx;
                dy += fr->dy;
                for (auto v : fr->image->mask->strike)
                    if (v) values.insert(v);
            }
            // Negative dx steps toward the opponent.
            if (m->name == name + "-walk") {
                EXPECT_LT(dx, 0);
            }
            if (m->name == name + "-back" || m->name == name + "-hit" || m->name == name + "-knockout") {
                EXPECT_GT(dx, 0);
            }
            EXPECT_EQ(dy, 0);
            const bool attack = !m->steps.empty() && m->steps.front().contains(ib::Attack);  // the newest step
            EXPECT_EQ(!values.empty(), attack) << "a move strikes when made with attack";
            if (m->name.find("-special") == std::string::npos) {
                EXPECT_LE(values.size(), 1u);
            }
            // The game closes 10 s after the knock-out; the fighter must stay down.
            const bool knockOut = !m->steps.empty() && m->steps.back().contains(8);
            EXPECT_TRUE(!knockOut || (m->animation->loops == 0 && m->animation->frames.back()->duration > 10000));
        }
    }
}

// Every fighter and stage in the folder loads without a word on standard
// error, and every sound named after a fighter's move has that move.
TEST_F(DefaultContent, EveryFighterAndStageLoadsCleanlyAndMoveSoundsHaveTheirMove)
{
    ib::ContentWarnings warnings(nullptr);
    registry_.warnings = &warnings;
    ib::LoadContext ctx{*device_, registry_};
    const auto fighters = namesWith(".Character");
    for (const std::string& name : fighters) EXPECT_NO_THROW(ib::loadCharacter(ctx, name)) << name;
    for (const std::string& name : namesWith(".level")) EXPECT_NO_THROW(ib::loadLevel(ctx, name)) << name;
    EXPECT_EQ(warnings.said(), std::vector<std::string>{});
    for (const std::string& sound : namesWith(".wav"))
        for (const std::string& name : fighters)
            if (sound.rfind(name + "-", 0) == 0) {
                EXPECT_TRUE(fs::exists(sound + ".Move")) << sound << ".wav";
            }
}

// The reader drops blank lines and keeps a last quote without its line
// feed (Quotes.ReaderKeepsEveryQuoteAndNoEmptyOne); what the shipped file
// must give is enough quotes, none of them empty.
TEST_F(DefaultContent, QuotesFileHoldsEnoughQuotes)
{
    ib::QuoteBook book;
    ib::loadQuotes(book);
    EXPECT_GE(book.size(), 31u);  // the file's first quote is practically never chosen
    for (const std::string& quote : book) EXPECT_NE(quote.find_first_not_of(" \t\n"), std::string::npos);
}

}  // namespace
