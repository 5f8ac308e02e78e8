// The fighters' quotes: read from "stuff.quotes", one chosen now and then,
// drawn above its speaker for 2.3 seconds.
#pragma once

#include <cstdint>
#include <deque>
#include <string>

namespace ib {

struct Game;
struct Fighter;

// Quote texts, newest-read first (the file's first quote is the last text).
using QuoteBook = std::deque<std::string>;

struct ActiveQuote {
    std::uint32_t startTime = 0;  // 0: no quote shown
    std::string text;
    const Fighter* speaker = nullptr;
};

// The generator behind every random choice of the quotes.
struct QuoteRandom {
    std::uint32_t state = 0;
    void seed(std::uint32_t s) { state = s; }
    int next()
    {
        state = state * 214013u + 2531011u;
        return static_cast<int>((state >> 16) & 0x7FFF);
    }
};

void loadQuotes(QuoteBook& book, const std::string& path = "stuff.quotes");
void chooseQuote(Game& game);
void drawQuote(Game& game, std::uint32_t t);

}  // namespace ib
