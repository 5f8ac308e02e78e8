#include "app/matchup.h"

#include "app/game.h"
#include "app/roster.h"
#include "fight/move_knowledge.h"

namespace ib {

namespace {

// What the fighter or stage named is, or why it is not there.
template <class Find, class Load, class Thing>
std::string named(Game& game, const std::string& name, const char* what, Find find, Load load,
                  const Thing*& out)
{
    if (name.empty()) return {};
    Roster& r = roster(game);
    if (const auto i = find(r, name)) {
        out = load(game, *i);
        if (out) return {};
    }
    // Every one is loaded first, so the list holds only those that can be chosen.
    loadRoster(game);
    const bool isFighter = std::string(what) == "fighter";
    const std::string there = isFighter ? fighterNames(r) : stageNames(r);
    std::string why = std::string("there is no ") + what + " \"" + name + "\"";
    if (const auto i = find(r, name)) why = std::string("the ") + what + " \"" + name + "\" cannot be loaded: " +
                                            (isFighter ? r.fighters[*i].error : r.stages[*i].error);
    return why + "; " + (isFighter ? "fighters" : "stages") + " there are: " + (there.empty() ? "none" : there);
}

// The content's quotes, then each fighter's own lines (NAME.quotes in the
// content folder or the player's own, as the content files find it), each
// fighter once.
QuoteBook quotesFor(const Content& c, const Character& c1, const Character& c2)
{
    QuoteBook book = c.startQuotes;
    for (const Character* ch : {&c1, &c2}) {
        if (ch == &c2 && c2.name == c1.name) break;
        QuoteBook own;
        loadQuotes(own, c.contentFiles.pathOf(ch->name + ".quotes"));
        book.insert(book.end(), own.begin(), own.end());
    }
    return book;
}

}  // namespace

void useMatchup(Game& game, const Character& c1, const Character& c2, const Level& stage)
{
    Content& c = game.content;
    if (!c.level) return;
    if (c.level.get() != &stage) *c.level = stage;
    c.knowledge = {learnMoves(c1), learnMoves(c2)};
    c.quoteBook = quotesFor(c, c1, c2);
    game.soundPlayer.useLevelMusic(c.contentFiles, c.level->name);
    game.soundPlayer.addCharacter(c.contentFiles, c1);
    game.soundPlayer.addCharacter(c.contentFiles, c2);
    game.fight.fighter1.emplace(c1, *c.level, Side::Left);
    game.fight.fighter2.emplace(c2, *c.level, Side::Right);
    c.roster.changed = true;
}

std::string useNamedMatchup(Game& game)
{
    const PlayOptions& o = game.playOptions;
    Content& c = game.content;
    if (o.fighter[0].empty() && o.fighter[1].empty() && o.stage.empty()) {
        useStartMatchup(game);
        return {};
    }
    if (c.characters.size() != 2 || !c.level) return "no content to choose from";
    const Character* fighters[2] = {c.characters[0].get(), c.characters[1].get()};
    roster(game);
    const Level* stage = c.roster.startStage;
    for (int p = 0; p < 2; ++p)
        if (std::string why = named(game, o.fighter[p], "fighter", fighterNamed, rosterFighter, fighters[p]);
            !why.empty())
            return "--p" + std::to_string(p + 1) + ": " + why;
    if (std::string why = named(game, o.stage, "stage", stageNamed, rosterStage, stage); !why.empty())
        return "--stage: " + why;
    if (!stage) return "--stage: no stage";
    useMatchup(game, *fighters[0], *fighters[1], *stage);
    return {};
}

void useQuickMatchup(Game& game) { useNamedMatchup(game); }

void useStartMatchup(Game& game)
{
    Content& c = game.content;
    if (c.roster.changed && c.characters.size() == 2 && c.roster.startStage) {
        useMatchup(game, *c.characters[0], *c.characters[1], *c.roster.startStage);
        c.roster.changed = false;
    }
}

FightState startOfOnlineFight(Game& game)
{
    useStartMatchup(game);
    FightState f;
    const Content& c = game.content;
    if (c.characters.size() >= 2 && c.level) {
        f.fighter1.emplace(*c.characters[0], *c.level, Side::Left);
        f.fighter2.emplace(*c.characters[1], *c.level, Side::Right);
    }
    return f;
}

}  // namespace ib
