#include "sim/trace.h"

#include <string_view>

#include "app/game.h"
#include "app/quote_layout.h"

namespace ib::sim {

namespace {

// The part of a quote the game draws: its first kMaxDrawnQuoteBytes bytes,
// cut before a UTF-8 continuation byte. A longer quote would otherwise
// write megabytes into every line of the trace while it is shown.
std::string_view drawnQuoteText(std::string_view text)
{
    if (text.size() <= kMaxDrawnQuoteBytes) return text;
    std::size_t cut = kMaxDrawnQuoteBytes;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
    return text.substr(0, cut);
}

nlohmann::ordered_json codes(const ButtonSet& set) { return set.codes(); }

nlohmann::ordered_json fighterJson(const Fighter& f)
{
    nlohmann::ordered_json history = nlohmann::ordered_json::array();
    for (const ButtonSet& s : f.history) history.push_back(codes(s));
    nlohmann::ordered_json out;
    out = {
        {"character", f.character ? f.character->name : ""},
        {"x", f.x},
        {"y", f.y},
        {"facing", f.facing},
        {"health", f.health},
        {"move", f.currentMove ? nlohmann::ordered_json(f.currentMove->name) : nlohmann::ordered_json(nullptr)},
        {"pending", f.pendingMove ? nlohmann::ordered_json(f.pendingMove->name) : nlohmann::ordered_json(nullptr)},
        {"moveStart", f.moveStart},
        {"frame", f.frame ? nlohmann::ordered_json(f.frame->name) : nlohmann::ordered_json(nullptr)},
        {"held", codes(f.held)},
        {"history", history},
        {"lastHitRegion", f.lastHitRegion},
        {"screenRect", {f.screenRect.left, f.screenRect.top, f.screenRect.right, f.screenRect.bottom}},
    };
    return out;
}

}  // namespace

nlohmann::ordered_json traceLine(const Game& game, long long pass, std::uint32_t clock)
{
    nlohmann::ordered_json fighters = nlohmann::ordered_json::array();
    if (game.fighter1) fighters.push_back(fighterJson(*game.fighter1));
    if (game.fighter2) fighters.push_back(fighterJson(*game.fighter2));
    int speaker = 0;
    if (game.activeQuote.speaker && game.activeQuote.speaker == game.fighter1.get()) speaker = 1;
    if (game.activeQuote.speaker && game.activeQuote.speaker == game.fighter2.get()) speaker = 2;
    nlohmann::ordered_json line;
    line["pass"] = pass;
    line["clock"] = clock;
    line["state"] = gameStateName(game.gameState);
    line["currentTime"] = game.currentTime;
    line["decisionTime"] = game.decisionTime;
    line["fighters"] = fighters;
    line["quote"] = {{"startTime", game.activeQuote.startTime},
                     {"speaker", speaker},
                     {"text", drawnQuoteText(game.activeQuote.text)},
                     {"textBytes", game.activeQuote.text.size()}};
    return line;
}

}  // namespace ib::sim
