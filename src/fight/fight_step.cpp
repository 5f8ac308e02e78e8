#include "fight/fight_step.h"

#include "fight/quote_choice.h"
#include "fight/training_rules.h"
#include "input/pass_input.h"

namespace ib {

void fightStep(FightState& fight, const FightRules& rules, std::uint32_t clock,
               const ComposeFrame& compose)
{
    const bool fighters = fight.fighter1 && fight.fighter2;
    if (fight.seedFromClock) {
        fight.computerRandom.seed(clock);
        fight.seedFromClock = false;
    }
    if (fighters && fight.mode != PlayMode::TwoPlayers) playPassInput(fight, rules.knowledge);
    if (fighters && rules.level)
        moveFighters(*fight.fighter1, *fight.fighter2, *rules.level, fight.currentTime);
    fight.currentTime = clock;
    expireQuote(fight);
    if (compose) compose(fight);
    if (fighters && fight.mode == PlayMode::Training) {
        const std::size_t before1 = fight.fighter1->history.size();
        const std::size_t before2 = fight.fighter2->history.size();
        resolveHits(*fight.fighter1, *fight.fighter2, fight.currentTime, fight.decisionTime,
                    kTrainingMinHealth);
        afterTrainingHits(fight, before1, before2);
    } else if (fighters) {
        resolveHits(*fight.fighter1, *fight.fighter2, fight.currentTime, fight.decisionTime);
    }
    chooseQuote(fight, rules.quoteCount);
    if (fight.decisionTime != 0 &&
        static_cast<std::int32_t>(fight.currentTime - fight.decisionTime) >
            static_cast<std::int32_t>(kEndDelayMs))
        fight.gameState = GameState::End;
}

}  // namespace ib
