#include "fight/fight_step.h"

#include "fight/hit_feel.h"
#include "fight/match_rules.h"
#include "fight/quote_choice.h"
#include "fight/training_rules.h"
#include "fight/pass_input.h"

namespace ib {

namespace {

// What tells that a fighter's move has started anew.
struct MoveMark {
    const Move* move = nullptr;
    std::uint32_t start = 0;
    const Frame* frame = nullptr;
    explicit MoveMark(const Fighter& f) : move(f.currentMove), start(f.moveStart), frame(f.frame) {}
    bool operator==(const MoveMark&) const = default;
};

// A move starts to be seen in the pass whose animation step shows it from
// its beginning: it was started by a key or a hit since the last pass, or
// the move before it played out just now. A pass that changes nothing (the
// clock stood still) starts nothing.
void noteMoveStart(const Fighter& f, const MoveMark& before, std::uint32_t t, std::int32_t number,
                   const FightRules& rules, SoundEvents& sounds)
{
    const Move* move = f.currentMove;
    if (move == nullptr || f.moveStart != t || MoveMark(f) == before) return;
    const bool voiced = rules.voicedMoves && rules.voicedMoves->count(move) != 0;
    if (move->strikes || voiced) sounds.push_back({SoundKind::Move, number, 100, move});
}

}  // namespace

StepMark beginFightStep(FightState& fight, const FightRules& rules, std::uint32_t clock, const StepInput& input,
                        SoundEvents* sounds)
{
    applyStepInput(fight, rules.level, input);
    const bool fighters = fight.fighter1 && fight.fighter2;
    if (fight.match.on || fight.mode == PlayMode::Training) {
        // While paused nothing moves and the fight's clock stands still.
        clock = matchClock(fight.match, clock);
        if (fight.match.paused) return {true};
    }
    if (feelsHits(fight) && freezePass(fight, rules.level, clock)) return {false, true};
    if (fight.seedFromClock) {
        fight.computerRandom.seed(clock);
        fight.seedFromClock = false;
    }
    if (fighters && fight.mode != PlayMode::TwoPlayers && !roundStarting(fight)) playPassInput(fight, rules.knowledge);
    if (fighters && rules.level) {
        const std::uint32_t t = fight.currentTime;
        const MoveMark before1(*fight.fighter1), before2(*fight.fighter2);
        moveFighters(*fight.fighter1, *fight.fighter2, *rules.level, t, feelsHits(fight));
        if (sounds) {
            noteMoveStart(*fight.fighter1, before1, t, 1, rules, *sounds);
            noteMoveStart(*fight.fighter2, before2, t, 2, rules, *sounds);
        }
    }
    fight.currentTime = clock;
    return {};
}

void finishFightStep(FightState& fight, const FightRules& rules, StepMark mark, bool quoteReached,
                     SoundEvents* sounds)
{
    if (mark.paused) return;
    const bool felt = feelsHits(fight);
    if (felt) countFlashes(fight);
    if (mark.frozen) return;
    const bool fighters = fight.fighter1 && fight.fighter2;
    if (quoteReached || !rules.quoteEndsWhenDrawn) expireQuote(fight);
    HitTaken taken[2];
    if (fighters && fight.mode == PlayMode::Training) {
        const std::size_t before1 = fight.fighter1->history.size();
        const std::size_t before2 = fight.fighter2->history.size();
        resolveHits(*fight.fighter1, *fight.fighter2, fight.currentTime, fight.decisionTime, sounds,
                    kTrainingMinHealth, taken);
        afterTrainingHits(fight, before1, before2);
    } else if (fighters) {
        resolveHits(*fight.fighter1, *fight.fighter2, fight.currentTime, fight.decisionTime, sounds,
                    -HUGE_VAL, felt ? taken : nullptr);
    }
    if (fighters && felt) afterFeltHits(fight, taken);
    if (chooseQuote(fight, rules.quoteCount) && sounds)
        sounds->push_back({SoundKind::Quote, fight.activeQuote.speaker, 100});
    if (fight.match.on) {
        if (fighters && rules.level) afterMatchHits(fight, *rules.level);
    } else if (fight.decisionTime != 0 &&
        static_cast<std::int32_t>(fight.currentTime - fight.decisionTime) >
            static_cast<std::int32_t>(kEndDelayMs))
        fight.gameState = GameState::End;
}

void fightStep(FightState& fight, const FightRules& rules, std::uint32_t clock, const StepInput& input,
               SoundEvents* sounds)
{
    const StepMark mark = beginFightStep(fight, rules, clock, input, sounds);
    finishFightStep(fight, rules, mark, true, sounds);
}

}  // namespace ib
