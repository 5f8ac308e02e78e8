// Now and then a fighter speaks: the choice of the quote, its speaker and
// its end, made in the fight's pass from the fight's own random numbers.
#pragma once

#include <cstddef>

#include "fight/fight_state.h"

namespace ib {

// How long a quote is shown.
constexpr std::int32_t kQuoteShowMs = 2300;

// Starts a quote when one is due and none is shown; bookSize quotes to
// choose from. True when a quote started.
bool chooseQuote(FightState& fight, std::size_t bookSize);
// True when a quote is shown and is more than kQuoteShowMs old at
// currentTime: it is not drawn any more, and expireQuote ends it.
bool quoteOver(const FightState& fight);
// Ends the quote when it is over.
void expireQuote(FightState& fight);

}  // namespace ib
