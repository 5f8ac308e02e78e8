// The computer opponent: what it learns of a Character's files, how its
// levels fare against each other and against a button masher on the
// default content, and that the fight's state alone decides what it does.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <vector>

#include "app/display.h"
#include "app/game.h"
#include "fight/buttons.h"
#include "fight/cpu_player.h"
#include "platform/headless_platform.h"
#include "sim/computer_fights.h"
#include "support/fight_builders.h"

namespace ib::test {
namespace {

constexpr std::uint32_t kStepMs = 16;
constexpr std::uint32_t kTwoMinutes = 120000;

// A game set up on the content of `dir` (the build's default content when
// none is given), its knowledge learnt.
struct LoadedGame {
    HeadlessPlatform platform;
    std::unique_ptr<Game> game;
    bool opened = false;

    explicit LoadedGame(const std::filesystem::path& dir = INKBLOT_DATA_DIR)
    {
        const auto previous = std::filesystem::current_path();
        std::filesystem::current_path(dir);
        game = std::make_unique<Game>(platform);
        opened = initDisplay(*game) == DD_OK && game->content.knowledge.size() == 2;
        std::filesystem::current_path(previous);
    }

    sim::FightOutcome fight(int level1, int level2, std::uint32_t seed, const sim::PassScript& script = {})
    {
        game->playOptions.computerLevel[0] = level1;
        game->playOptions.computerLevel[1] = level2;
        return sim::playComputerFight(*game, PlayMode::VersusComputer, seed, kStepMs, kTwoMinutes, script);
    }
};

const KnownMove& known(const MoveKnowledge& k, const std::string& name)
{
    for (const KnownMove& m : k.moves)
        if (m.move && m.move->name == name) return m;
    static const KnownMove none;
    ADD_FAILURE() << "no move " << name;
    return none;
}

TEST(MoveKnowledge, LearnsTheDefaultFightersFromTheirFiles)
{
    LoadedGame g;
    ASSERT_TRUE(g.opened);
    for (const MoveKnowledge& k : g.game->content.knowledge) {
        const std::string who = k.character->name;
        SCOPED_TRACE(who);
        for (const char* attack : {"-punch", "-kick", "-low", "-special"}) {
            const KnownMove& m = known(k, who + attack);
            EXPECT_TRUE(m.strikes) << attack;
            EXPECT_FALSE(m.keys.empty()) << attack;
            EXPECT_LT(0, m.strikeStart);
            EXPECT_LT(m.strikeStart, m.strikeEnd);
            EXPECT_LE(m.strikeEnd, m.duration);
            EXPECT_LT(0, m.reachNear);
            EXPECT_LE(m.reachNear, m.reachFar);
        }
        // The special is made of four input steps; the sweep strikes low.
        EXPECT_TRUE(known(k, who + "-special").special);
        EXPECT_EQ(known(k, who + "-special").keys.size(), 4u);
        EXPECT_LT(known(k, who + "-low").strikeHigh, known(k, who + "-punch").strikeLow);
        // Reactions to hits and the stance are nobody's to make.
        EXPECT_TRUE(known(k, who + "-hit").keys.empty());
        EXPECT_TRUE(known(k, who + "-knockout").keys.empty());
        EXPECT_FALSE(known(k, who + "-stance").strikes);
        ASSERT_GE(k.walk, 0);
        ASSERT_GE(k.back, 0);
        ASSERT_GE(k.block, 0);
        EXPECT_EQ(k.moves[static_cast<std::size_t>(k.walk)].move->name, who + "-walk");
        EXPECT_EQ(k.moves[static_cast<std::size_t>(k.back)].move->name, who + "-back");
        EXPECT_EQ(k.moves[static_cast<std::size_t>(k.block)].move->name, who + "-block");
    }
}

TEST(MoveKnowledge, KeepsOnlyInputsThatStartTheirMove)
{
    // Steps newest first. "fa" after "d" needs two presses at once; a move
    // listed after one with the same input is never chosen.
    auto character = makeCharacter(
        makeMove({ButtonSet{Forward, Attack}, ButtonSet{Down}}, 10, 1, makeAnimation(false, {{100}})),
        makeMove({ButtonSet{Attack}}, 10, 1, makeAnimation(false, {{100}})),
        makeMove({ButtonSet{Attack}}, 20, 1, makeAnimation(false, {{100}})),
        makeMove({ButtonSet{Attack, Forward}, ButtonSet{Forward}, ButtonSet{}}, 10, 1,
                 makeAnimation(false, {{100}})),
        makeMove({ButtonSet{Hit, Wildcard}}, 50, 0, makeAnimation(false, {{100}})),
        makeMove({}, 0, 0, makeAnimation(true, {{100}})));
    const MoveKnowledge k = learnMoves(*character);
    ASSERT_EQ(k.moves.size(), 6u);
    EXPECT_TRUE(k.moves[0].keys.empty());
    EXPECT_FALSE(k.moves[1].keys.empty());
    EXPECT_TRUE(k.moves[2].keys.empty());
    // Nothing held, then forward, then forward and attack: the first step
    // is a release of something not held.
    ASSERT_EQ(k.moves[3].keys.size(), 3u);
    EXPECT_FALSE(k.moves[3].keys[0].press);
    EXPECT_TRUE(k.moves[4].keys.empty());
    EXPECT_TRUE(k.attacks.empty());  // none of them strikes
}

TEST(ComputerFights, LevelsOnTheDefaultContent)
{
    LoadedGame g;
    ASSERT_TRUE(g.opened);
    // Level 5 against level 1, each on both sides.
    int strongWins = 0;
    for (std::uint32_t seed = 1; seed <= 50; ++seed) {
        strongWins += g.fight(5, 1, seed).winner == 1;
        strongWins += g.fight(1, 5, seed).winner == 2;
    }
    std::printf("level 5 beat level 1 in %d of 100 fights\n", strongWins);
    EXPECT_GE(strongWins, 80);
    // Equal levels, 20 fights each: a knock-out within two minutes; both
    // sides land strikes, block and throw their specials.
    const Move* special[2];
    for (int p = 0; p < 2; ++p) {
        const MoveKnowledge& k = g.game->content.knowledge[static_cast<std::size_t>(p)];
        special[p] = known(k, k.character->name + "-special").move;
    }
    int knockOuts = 0, hits[2] = {0, 0}, blocks[2] = {0, 0}, specials[2] = {0, 0};
    for (int level = 1; level <= 5; ++level)
        for (std::uint32_t seed = 100; seed < 120; ++seed) {
            const Move* last[2] = {nullptr, nullptr};
            const auto o = g.fight(level, level, seed, [&](FightState& f) {
                for (int p = 0; p < 2; ++p) {
                    const Move* m = f.fighter(p + 1)->currentMove;
                    specials[p] += m != last[p] && m == special[p];
                    last[p] = m;
                }
            });
            knockOuts += o.winner != 0;
            for (int p = 0; p < 2; ++p) {
                hits[p] += o.hits[p];
                blocks[p] += o.blocks[p];
            }
        }
    std::printf("%d of 100 fights between equal levels ended in a knock-out within 120 s; "
                "hits %d %d, blocked %d %d, specials %d %d\n",
                knockOuts, hits[0], hits[1], blocks[0], blocks[1], specials[0], specials[1]);
    EXPECT_GE(knockOuts, 95);
    for (int p = 0; p < 2; ++p) {
        EXPECT_GT(hits[p], 0) << "player " << p + 1;
        EXPECT_GT(blocks[p], 0) << "player " << p + 1;
        EXPECT_GT(specials[p], 0) << "player " << p + 1;
    }
}

TEST(ComputerFights, ABlindAttackMasherLosesToLevelThree)
{
    LoadedGame g;
    ASSERT_TRUE(g.opened);
    // Player `p` presses attack in one pass and lets go in the next.
    const auto masher = [](int p) {
        return [p](FightState& f) {
            Fighter& me = *f.fighter(p);
            if (me.held.contains(Attack)) releaseButton(me, Attack, f.currentTime);
            else pressButton(me, Attack, f.currentTime);
        };
    };
    int computerWins = 0;
    for (std::uint32_t seed = 1; seed <= 50; ++seed) {
        computerWins += g.fight(0, 3, seed, masher(1)).winner == 2;
        computerWins += g.fight(3, 0, seed, masher(2)).winner == 1;
    }
    std::printf("level 3 beat the attack masher in %d of 100 fights\n", computerWins);
    EXPECT_GE(computerWins, 90);
}

TEST(ComputerFights, TheFightStateAloneDecidesWhatTheComputerDoes)
{
    LoadedGame g;
    ASSERT_TRUE(g.opened);
    Game& game = *g.game;
    game.playOptions.computerLevel[0] = 4;
    game.playOptions.computerLevel[1] = 5;
    game.playOptions.seed = 77;
    const FightRules rules = fightRules(game);
    // A fight's hashes pass by pass; a snapshot is taken at pass 300.
    const auto play = [&](std::optional<FightState>* snapshot, int from, const FightState* start) {
        if (start) game.fight = *start;
        else startFight(game, PlayMode::VersusComputer);
        std::vector<std::uint64_t> hashes;
        for (int pass = from; pass < 1500; ++pass) {
            if (snapshot && pass == 300) *snapshot = game.fight;
            fightStep(game.fight, rules, 1000 + kStepMs * static_cast<std::uint32_t>(pass));
            hashes.push_back(hashFight(game.fight));
        }
        return hashes;
    };
    std::optional<FightState> snapshot;
    const auto first = play(&snapshot, 0, nullptr);
    EXPECT_EQ(play(nullptr, 0, nullptr), first);  // the same seed plays the same fight
    ASSERT_TRUE(snapshot);
    const auto resumed = play(nullptr, 300, &*snapshot);  // a rollback to pass 300
    EXPECT_TRUE(std::equal(resumed.begin(), resumed.end(), first.begin() + 300));
    game.playOptions.seed = 78;
    EXPECT_NE(play(nullptr, 0, nullptr), first);
    // Without a seed the first pass's clock gives it: the same clocks, the
    // same fight.
    game.playOptions.seed.reset();
    const auto unseeded = play(nullptr, 0, nullptr);
    EXPECT_EQ(play(nullptr, 0, nullptr), unseeded);
}

}  // namespace
}  // namespace ib::test
