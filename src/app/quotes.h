// The fighters' quotes: read from "stuff.quotes", one chosen now and then,
// drawn above its speaker for 2.3 seconds.
#pragma once

#include <cstdint>
#include <deque>
#include <string>

#include "fight/fight_state.h"

namespace ib {

struct Game;

// Quote texts, newest-read first (the file's first quote is the last text).
using QuoteBook = std::deque<std::string>;

void loadQuotes(QuoteBook& book, const std::string& path = "stuff.quotes");
// Draws the fight's quote, if one is shown, above its speaker.
void drawQuote(Game& game, const FightState& fight);

}  // namespace ib
