#include "fight/fight_step.h"

#include "fight/quote_choice.h"

namespace ib {

void fightStep(FightState& fight, const FightRules& rules, std::uint32_t clock,
               const ComposeFrame& compose)
{
    const bool fighters = fight.fighter1 && fight.fighter2;
    if (fighters && rules.level)
        moveFighters(*fight.fighter1, *fight.fighter2, *rules.level, fight.currentTime);
    fight.currentTime = clock;
    expireQuote(fight);
    if (compose) compose(fight);
    if (fighters) resolveHits(*fight.fighter1, *fight.fighter2, fight.currentTime, fight.decisionTime);
    chooseQuote(fight, rules.quoteCount);
    if (fight.decisionTime != 0 &&
        static_cast<std::int32_t>(fight.currentTime - fight.decisionTime) >
            static_cast<std::int32_t>(kEndDelayMs))
        fight.gameState = GameState::End;
}

}  // namespace ib
