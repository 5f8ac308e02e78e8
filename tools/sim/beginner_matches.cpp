#include "sim/beginner_matches.h"

#include <cstdio>

namespace ib::sim {

namespace {
constexpr std::uint32_t kFirstClock = 1000;
// Three rounds of 99 s, their banners and the pauses between them.
constexpr std::uint32_t kLongestMatchMs = 340000;
// The variety of the computer's attacks is judged in matches with this many.
constexpr int kFewestAttacks = 10;
}  // namespace

MatchOutcome playBeginnerMatch(Game& game, beginners::Style style, int level, std::uint32_t seed,
                               std::uint32_t stepMs, std::uint32_t maxMs)
{
    game.playOptions.seed = seed;
    game.playOptions.computerLevel[0] = 0;
    game.playOptions.computerLevel[1] = level;
    game.fightPlayed = true;  // always from fresh fighters
    startFight(game, PlayMode::VersusComputer, /*match=*/true);
    FightState& f = game.fight;
    const FightRules rules = fightRules(game);
    beginners::Beginner beginner(style, 1, seed);
    MatchOutcome out;
    StepInput input;
    for (std::uint32_t clock = kFirstClock; clock - kFirstClock <= maxMs; clock += stepMs) {
        input.clear();
        beginner.play(f, input);
        fightStep(f, rules, clock, input);
        out.tally.note(f);
        if (f.match.matchWinner >= 0) break;
    }
    out.roundsWon[0] = f.match.roundsWon[0];
    out.roundsWon[1] = f.match.roundsWon[1];
    out.winner = f.match.matchWinner > 0 ? f.match.matchWinner : 0;
    return out;
}

int printBeginnerMatches(Game& game, beginners::Style style, int level, long long matches, std::uint32_t firstSeed,
                         std::uint32_t stepMs)
{
    int rounds[2] = {0, 0}, won[3] = {0, 0, 0}, worstShare = 0;
    std::string worstMove;
    for (long long i = 0; i < matches; ++i) {
        const auto seed = static_cast<std::uint32_t>(firstSeed + i);
        const MatchOutcome o = playBeginnerMatch(game, style, level, seed, stepMs, kLongestMatchMs);
        rounds[0] += o.roundsWon[0];
        rounds[1] += o.roundsWon[1];
        ++won[o.winner];
        const int share = o.tally.topShare(2);
        // Fewer attacks cannot be shared out finely enough to tell.
        if (o.tally.total(2) >= kFewestAttacks && share > worstShare) worstShare = share, worstMove = o.tally.topName(2);
        std::printf("match %lld seed %u: rounds %d-%d; computer attacks %d, most used %s %d %%\n", i + 1, seed,
                    o.roundsWon[0], o.roundsWon[1], o.tally.total(2), o.tally.topName(2).c_str(), share);
    }
    const int all = rounds[0] + rounds[1];
    std::printf("%s against level %d, %lld matches: rounds won %d-%d (%.0f %%), matches %d-%d; "
                "the computer's most used attack at most %d %% of a match with %d attacks or more (%s)\n",
                beginners::styleName(style), level, matches, rounds[0], rounds[1],
                all ? 100.0 * rounds[0] / all : 0.0, won[1], won[2], worstShare, kFewestAttacks, worstMove.c_str());
    return 0;
}

}  // namespace ib::sim
