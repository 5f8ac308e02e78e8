#include "sim/trace.h"

#include <cstdio>
#include <string_view>

#include "app/game.h"
#include "app/quote_layout.h"
#include "fight/hit_feel.h"
#include "fight/match_rules.h"

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

nlohmann::ordered_json fighterJson(const Fighter& f, const Rect& screenRect)
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
        {"screenRect", {screenRect.left, screenRect.top, screenRect.right, screenRect.bottom}},
    };
    return out;
}

}  // namespace

nlohmann::ordered_json traceLine(const Game& game, long long pass, std::uint32_t clock)
{
    const FightState& fight = game.fight;
    nlohmann::ordered_json fighters = nlohmann::ordered_json::array();
    if (fight.fighter1) fighters.push_back(fighterJson(*fight.fighter1, game.screen.screenRect[0]));
    if (fight.fighter2) fighters.push_back(fighterJson(*fight.fighter2, game.screen.screenRect[1]));
    const ActiveQuote& quote = fight.activeQuote;
    // The text the quote started with: the book's entry, or none yet.
    std::string_view text;
    if (quote.text >= 0 && static_cast<std::size_t>(quote.text) < game.content.quoteBook.size())
        text = game.content.quoteBook[static_cast<std::size_t>(quote.text)];
    nlohmann::ordered_json line;
    line["pass"] = pass;
    line["clock"] = clock;
    line["state"] = gameStateName(fight.gameState);
    line["currentTime"] = fight.currentTime;
    line["decisionTime"] = fight.decisionTime;
    line["fighters"] = fighters;
    line["quote"] = {{"startTime", quote.startTime},
                     {"speaker", quote.speaker},
                     {"text", drawnQuoteText(text)},
                     {"textBytes", text.size()}};
    // Playing alone adds what the computer and the training do.
    if (fight.mode != PlayMode::TwoPlayers) {
        line["mode"] = playModeName(fight.mode);
        line["computerLevels"] = {fight.computer[0].level, fight.computer[1].level};
        if (fight.mode == PlayMode::Training) {
            const TrainingState& t = fight.training;
            line["training"] = {{"dummy", dummyModeName(t.dummy)},
                                {"recording", t.recording},
                                {"recorded", t.recorded.size()},
                                {"lastHit", {t.hitX, t.hitY}}};
            if (fight.match.menu != MatchMenu::None) line["menu"] = matchMenuName(fight.match.menu);
        }
    }
    // A match adds its round, timer, banner and pause.
    if (const MatchState& m = fight.match; m.on) {
        const int left = secondsLeft(fight);
        const std::string banner = bannerText(fight);
        line["round"] = m.round;
        line["roundsWon"] = {m.roundsWon[0], m.roundsWon[1]};
        line["timer"] = left >= 0 ? nlohmann::ordered_json(left) : nlohmann::ordered_json(nullptr);
        line["banner"] = banner.empty() ? nlohmann::ordered_json(nullptr) : nlohmann::ordered_json(banner);
        line["paused"] = m.paused;
        line["menu"] = m.menu == MatchMenu::None ? nlohmann::ordered_json(nullptr)
                                                 : nlohmann::ordered_json(matchMenuName(m.menu));
        if (m.menu != MatchMenu::None) line["menuChoice"] = m.menuChoice;
    }
    // Outside the quick fight, the hit-stop still to come and each player's combo.
    if (feelsHits(fight)) {
        line["freeze"] = fight.feel.freezeLeft;
        line["combo"] = {fight.feel.combo[0].count, fight.feel.combo[1].count};
        line["spark"] = {fight.feel.sparkX, fight.feel.sparkY};
    }
    nlohmann::ordered_json sounds = nlohmann::ordered_json::array();
    for (const SoundEvent& e : game.sounds) {
        nlohmann::ordered_json sound = {
            {"sound", soundKindName(e.kind)}, {"fighter", e.fighter}, {"volume", e.volume}};
        if (e.move) sound["move"] = e.move->name;
        sounds.push_back(sound);
    }
    line["sounds"] = sounds;
    char hash[17];
    std::snprintf(hash, sizeof hash, "%016llx", static_cast<unsigned long long>(hashFight(fight)));
    line["hash"] = hash;
    return line;
}

}  // namespace ib::sim
