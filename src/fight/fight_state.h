// Everything a pass of the game changes, as one value: copying it is a
// snapshot, assigning it a restore, == compares two, and hashFight gives a
// number that is the same for the same fight on every run and machine.
// Content (Characters, Moves, Frames) is pointed to, never copied: the
// content of a run does not change while it plays.
#pragma once

#include <cstdint>
#include <optional>

#include "fight/fighter.h"

namespace ib {

enum class GameState : std::int32_t { Splash = 0, Fight = 1, End = 2 };

const char* gameStateName(GameState s);

// The quote shown above a fighter: which text of the quote book, spoken by
// player 1 or 2, since startTime (0: none shown).
struct ActiveQuote {
    std::uint32_t startTime = 0;
    std::int32_t text = -1;  // index into the quote book
    std::int32_t speaker = 0;
    friend bool operator==(const ActiveQuote&, const ActiveQuote&) = default;
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
    friend bool operator==(const QuoteRandom&, const QuoteRandom&) = default;
};

struct FightState {
    GameState gameState = GameState::Splash;
    std::optional<Fighter> fighter1;
    std::optional<Fighter> fighter2;
    std::uint32_t currentTime = 0;
    std::uint32_t decisionTime = 0;
    ActiveQuote activeQuote;
    std::uint32_t lastQuoteCheck = 0;
    QuoteRandom quoteRandom;
    bool quoteFirstCall = true;

    // The fighter of player 1 or 2 (null for any other number or before
    // the fighters are made).
    Fighter* fighter(int player);
    const Fighter* fighter(int player) const;

    friend bool operator==(const FightState&, const FightState&) = default;
};

// FNV-1a over a canonical encoding of the state: Characters by name, Moves
// and Frames by their place in their Character's files, numbers as their
// bits in a fixed byte order.
std::uint64_t hashFight(const FightState& state);

}  // namespace ib
