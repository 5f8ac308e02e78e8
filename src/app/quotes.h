// The fighters' quotes: read from "stuff.quotes", one chosen now and then,
// drawn above its speaker for 2.3 seconds.
#pragma once

#include <cstdint>
#include <deque>
#include <string>

#include "fight/fight_state.h"

namespace ib {

struct Content;
struct Screen;

// Quote texts, newest-read first (the file's first quote is the last text).
using QuoteBook = std::deque<std::string>;

class ContentFiles;
// Reads the quotes file of that name, from files' folder when given (and
// notes it there); a file that cannot be read gives an empty book.
void loadQuotes(QuoteBook& book, const std::string& name = "stuff.quotes", ContentFiles* files = nullptr);
// Draws the fight's quote above its speaker, if one is shown and not over.
void drawQuote(Screen& screen, const Content& content, const FightState& fight);

}  // namespace ib
