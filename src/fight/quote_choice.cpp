#include "fight/quote_choice.h"

namespace ib {

namespace {

// Quotes become due on average once in this many milliseconds.
constexpr double kMeanQuoteGapMs = 10000.0;

}  // namespace

bool chooseQuote(FightState& fight, std::size_t bookSize)
{
    QuoteRandom& random = fight.quoteRandom;
    bool started = false;
    if (fight.quoteFirstCall) {
        fight.lastQuoteCheck = fight.currentTime;
        random.seed(fight.currentTime);
        fight.quoteFirstCall = false;
    }
    const int r1 = random.next();
    const auto sinceLast = static_cast<std::int32_t>(fight.currentTime - fight.lastQuoteCheck);
    if (static_cast<double>(sinceLast) > r1 * (kMeanQuoteGapMs / 32767.0)) {
        const int r2 = random.next();
        const int speaker = ((r2 / 17) & 8) ? 1 : 2;
        const int r3 = random.next();
        const auto n = static_cast<long long>(bookSize);
        if (n > 0 && fight.activeQuote.startTime == 0) {
            fight.activeQuote.text = static_cast<std::int32_t>(r3 * n / 32768);
            fight.activeQuote.startTime = fight.currentTime;
            fight.activeQuote.speaker = speaker;
            started = true;
        }
    }
    fight.lastQuoteCheck = fight.currentTime;
    return started;
}

bool quoteOver(const FightState& fight)
{
    const ActiveQuote& quote = fight.activeQuote;
    return quote.startTime != 0 &&
           static_cast<std::int32_t>(fight.currentTime - quote.startTime) > kQuoteShowMs;
}

void expireQuote(FightState& fight)
{
    if (quoteOver(fight)) fight.activeQuote.startTime = 0;
}

}  // namespace ib
