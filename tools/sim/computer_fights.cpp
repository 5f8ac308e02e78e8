#include "sim/computer_fights.h"

namespace ib::sim {

namespace {

constexpr std::uint32_t kFirstClock = 1000;

// Only a hit starts a move after the pass's clock is stamped: the victim's
// reaction, whose newest input step holds Hit or KnockOut (and Block when
// the hit was blocked).
void countHit(const Fighter& victim, std::uint32_t now, int attacker, FightOutcome& out)
{
    const Move* m = victim.currentMove;
    if (victim.moveStart != now || m == nullptr || m->steps.empty()) return;
    const ButtonSet& s = m->steps[0];
    if (!s.contains(Hit) && !s.contains(KnockOut)) return;
    ++out.hits[attacker - 1];
    if (s.contains(Block)) ++out.blocks[2 - attacker];
}

}  // namespace

FightOutcome playComputerFight(Game& game, PlayMode mode, std::uint32_t seed, std::uint32_t stepMs,
                               std::uint32_t maxMs, const PassScript& script)
{
    game.playOptions.seed = seed;
    game.fightPlayed = true;  // always from fresh fighters
    startFight(game, mode);
    FightState& f = game.fight;
    const FightRules rules = fightRules(game);
    FightOutcome out;
    for (std::uint32_t clock = kFirstClock; clock - kFirstClock <= maxMs; clock += stepMs) {
        if (script) script(f);
        fightStep(f, rules, clock);
        countHit(*f.fighter1, clock, 2, out);
        countHit(*f.fighter2, clock, 1, out);
        out.tally.note(f);
        out.endMs = clock - kFirstClock;
        if (f.decisionTime != 0) {
            const bool down1 = !(f.fighter1->health > 0.0), down2 = !(f.fighter2->health > 0.0);
            out.winner = down1 == down2 ? 0 : (down1 ? 2 : 1);
            break;
        }
    }
    out.health[0] = f.fighter1->health;
    out.health[1] = f.fighter2->health;
    return out;
}

void swapCharacters(Game& game)
{
    FightState& f = game.fight;
    if (!f.fighter1 || !f.fighter2 || !game.content.level || game.content.knowledge.size() != 2) return;
    const Character& c1 = *f.fighter1->character;
    const Character& c2 = *f.fighter2->character;
    std::swap(game.content.knowledge[0], game.content.knowledge[1]);
    f.fighter1.emplace(c2, *game.content.level, Side::Left);
    f.fighter2.emplace(c1, *game.content.level, Side::Right);
}

}  // namespace ib::sim
