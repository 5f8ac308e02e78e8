#include "fight/match_rules.h"

#include <bit>
#include <cctype>

#include "fight/buttons.h"
#include "fight/fight_step.h"
#include "fight/training_rules.h"

namespace ib {

namespace {

bool since(std::uint32_t now, std::uint32_t then, std::uint32_t ms)
{
    return static_cast<std::int32_t>(now - then) >= static_cast<std::int32_t>(ms);
}

void showBanner(MatchState& m, Banner banner, std::uint32_t t)
{
    m.banner = banner;
    m.bannerStart = t;
}

// More health wins; the same health is a draw.
std::int32_t healthWinner(const FightState& f)
{
    const double h1 = f.fighter1->health, h2 = f.fighter2->health;
    return h1 > h2 ? 1 : (h2 > h1 ? 2 : 0);
}

void decideRound(FightState& f, bool timeOut)
{
    MatchState& m = f.match;
    m.roundWinner = healthWinner(f);
    m.roundEnd = f.currentTime;
    if (m.roundWinner > 0) ++m.roundsWon[m.roundWinner - 1];
    if (timeOut) showBanner(m, Banner::Time, m.roundEnd);
    else showBanner(m, m.roundWinner == 0 ? Banner::Draw : Banner::Winner, m.roundEnd);
}

// After the last round or once a player has won most of them.
bool matchDecided(const MatchState& m)
{
    const std::int32_t needed = m.rounds / 2 + 1;
    return m.roundsWon[0] >= needed || m.roundsWon[1] >= needed || m.round >= m.rounds;
}

std::string upper(std::string s)
{
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

std::string playerName(const FightState& f, int player)
{
    const Fighter* fighter = f.fighter(player);
    return fighter && fighter->character ? upper(fighter->character->name) : "PLAYER " + std::to_string(player);
}

// What each player held through the banners is pressed as the round
// begins, in ascending order, as if pressed at that moment.
void takeHeldButtons(FightState& f, std::uint32_t t)
{
    for (int p = 1; p <= 2; ++p) {
        Fighter* fighter = f.fighter(p);
        if (fighter == nullptr) continue;
        const ButtonSet held = fighter->held;
        fighter->held.clear();
        for (int code : held.codes()) pressButton(*fighter, code, t);
    }
}

}  // namespace

bool roundStarting(const FightState& f)
{
    const MatchState& m = f.match;
    return m.on && m.roundWinner < 0 && m.matchWinner < 0 && (m.banner == Banner::Round || m.banner == Banner::Fight);
}

void startMatch(FightState& fight, std::int32_t rounds, std::uint32_t timerSeconds)
{
    fight.match = MatchState{};
    fight.match.on = true;
    fight.match.rounds = rounds;
    fight.match.timerSeconds = timerSeconds;
    showBanner(fight.match, Banner::Round, fight.currentTime);
}

std::uint32_t matchClock(MatchState& m, std::uint32_t clock)
{
    if (m.paused) m.pausedTotal += clock - m.lastClock;
    m.lastClock = clock;
    return clock - m.pausedTotal;
}

void afterMatchHits(FightState& f, const Level& level)
{
    MatchState& m = f.match;
    const std::uint32_t t = f.currentTime;
    // The first pass of the fight is the first with a clock.
    if (m.round == 1 && m.roundStart == 0 && m.roundWinner < 0 && m.banner == Banner::Round) {
        m.roundStart = t;
        m.bannerStart = t;
    }
    if (m.banner == Banner::Round && since(t, m.bannerStart, kBannerMs)) {
        showBanner(m, Banner::Fight, t);
    } else if (m.banner == Banner::Fight && m.roundWinner < 0 && since(t, m.bannerStart, kBannerMs)) {
        // The round begins: its timer starts and held buttons are taken.
        m.banner = Banner::None;
        m.roundStart = t;
        takeHeldButtons(f, t);
    } else if (m.banner == Banner::Time && since(t, m.bannerStart, kBannerMs))
        showBanner(m, m.roundWinner == 0 ? Banner::Draw : Banner::Winner, t);
    else if ((m.banner == Banner::Fight || m.banner == Banner::Winner || m.banner == Banner::Draw) &&
             since(t, m.bannerStart, kBannerMs))
        m.banner = Banner::None;
    if (m.matchWinner >= 0) return;
    if (m.roundWinner < 0) {
        if (f.decisionTime != 0) decideRound(f, false);
        else if (m.timerSeconds != 0 && !roundStarting(f) && since(t, m.roundStart, m.timerSeconds * 1000u)) decideRound(f, true);
        return;
    }
    // As a single fight ends, the round ends 5 s after its knock-out; a
    // later knock-out counts from its own time.
    std::uint32_t end = m.roundEnd;
    if (f.decisionTime != 0 && static_cast<std::int32_t>(f.decisionTime - end) > 0) end = f.decisionTime;
    if (!since(t, end, kEndDelayMs + 1)) return;
    if (matchDecided(m)) {
        m.matchWinner = m.roundsWon[0] > m.roundsWon[1] ? 1 : (m.roundsWon[1] > m.roundsWon[0] ? 2 : 0);
        showBanner(m, Banner::MatchOver, t);
        m.menu = MatchMenu::Rematch;
        m.menuChoice = 0;
        return;
    }
    ++m.round;
    restartRound(f, level);
}

void restartRound(FightState& f, const Level& level)
{
    MatchState& m = f.match;
    std::uint32_t held[2] = {};
    for (int p = 1; p <= 2; ++p)
        if (const Fighter* fighter = f.fighter(p); fighter && f.computer[p - 1].level == 0) held[p - 1] = fighter->held.bits();
    resetFighters(f, level);
    for (int p = 1; p <= 2; ++p)
        if (Fighter* fighter = f.fighter(p))
            for (std::uint32_t b = held[p - 1]; b != 0; b &= b - 1) fighter->held.add(std::countr_zero(b));
    f.decisionTime = 0;
    // The computer starts the round afresh but for its level and the
    // attacks it made last, so it varies them over the whole match.
    for (ComputerMind& mind : f.computer) {
        ComputerMind fresh;
        fresh.level = mind.level;
        fresh.recentAttacks[0] = mind.recentAttacks[0];
        fresh.recentAttacks[1] = mind.recentAttacks[1];
        mind = fresh;
    }
    m.roundStart = f.currentTime;
    m.roundWinner = -1;
    m.roundEnd = 0;
    showBanner(m, Banner::Round, f.currentTime);
}

int secondsLeft(const FightState& f)
{
    const MatchState& m = f.match;
    if (m.timerSeconds == 0) return -1;
    if (roundStarting(f)) return static_cast<int>(m.timerSeconds);
    const std::uint32_t limit = m.timerSeconds * 1000u;
    // A decided round's timer stands where it stopped.
    const std::uint32_t now = m.roundWinner >= 0 ? m.roundEnd : f.currentTime;
    const std::int64_t left = std::int64_t{limit} - static_cast<std::int32_t>(now - m.roundStart);
    if (left <= 0) return 0;
    return static_cast<int>(std::min<std::int64_t>((left + 999) / 1000, m.timerSeconds));
}

std::string bannerText(const FightState& f)
{
    const MatchState& m = f.match;
    switch (m.banner) {
    case Banner::None: return {};
    case Banner::Round: return "ROUND " + std::to_string(m.round);
    case Banner::Fight: return "FIGHT";
    case Banner::Winner: return playerName(f, m.roundWinner) + " WINS";
    case Banner::Time: return "TIME";
    case Banner::Draw: return "DRAW";
    case Banner::MatchOver: {
        // The winner's rounds first.
        const int first = m.matchWinner == 2 ? 1 : 0;
        const std::string score = std::to_string(m.roundsWon[first]) + "-" + std::to_string(m.roundsWon[1 - first]);
        return (m.matchWinner == 0 ? std::string("DRAW") : playerName(f, m.matchWinner) + " WINS") + " " + score;
    }
    }
    return {};
}

std::span<const MenuItem> menuItems(MatchMenu menu)
{
    static constexpr MenuItem kPause[] = {MenuItem::Resume, MenuItem::RestartRound, MenuItem::Splash,
                                          MenuItem::Quit};
    static constexpr MenuItem kRematch[] = {MenuItem::Rematch, MenuItem::Splash, MenuItem::Quit};
    static constexpr MenuItem kTraining[] = {MenuItem::Resume, MenuItem::ResetPositions, MenuItem::Splash,
                                             MenuItem::Quit};
    static constexpr MenuItem kQuit[] = {MenuItem::QuitYes, MenuItem::QuitNo};
    switch (menu) {
    case MatchMenu::Pause: return kPause;
    case MatchMenu::Rematch: return kRematch;
    case MatchMenu::TrainingPause: return kTraining;
    case MatchMenu::ConfirmQuit: return kQuit;
    case MatchMenu::None: break;
    }
    return {};
}

const char* menuItemText(MenuItem item)
{
    switch (item) {
    case MenuItem::Resume: return "Resume";
    case MenuItem::RestartRound: return "Restart the round";
    case MenuItem::Rematch: return "Rematch";
    case MenuItem::Splash: return "Back to the splash";
    case MenuItem::Quit: return "Quit";
    case MenuItem::ResetPositions: return "Reset positions";
    case MenuItem::QuitYes: return "Yes";
    case MenuItem::QuitNo: return "No";
    }
    return "?";
}

const char* matchMenuName(MatchMenu menu)
{
    switch (menu) {
    case MatchMenu::None: return "none";
    case MatchMenu::Pause: return "pause";
    case MatchMenu::Rematch: return "rematch";
    case MatchMenu::TrainingPause: return "training pause";
    case MatchMenu::ConfirmQuit: return "quit?";
    }
    return "?";
}

void openPause(FightState& f)
{
    f.match.paused = true;
    f.match.menu = f.mode == PlayMode::Training ? MatchMenu::TrainingPause : MatchMenu::Pause;
    f.match.menuChoice = 0;
}

void askQuit(FightState& f)
{
    f.match.menu = MatchMenu::ConfirmQuit;
    f.match.menuChoice = 1;
}

void closeQuitQuestion(FightState& f)
{
    MatchState& m = f.match;
    if (m.on && m.matchWinner >= 0) m.menu = MatchMenu::Rematch;
    else m.menu = f.mode == PlayMode::Training ? MatchMenu::TrainingPause : MatchMenu::Pause;
    m.menuChoice = 0;
}

const char* menuTitle(MatchMenu menu)
{
    return menu == MatchMenu::ConfirmQuit ? "Quit the game?" : "";
}

void moveMenuChoice(MatchState& m, int step)
{
    const int n = static_cast<int>(menuItems(m.menu).size());
    if (n == 0) return;
    m.menuChoice = ((m.menuChoice + step) % n + n) % n;
}

}  // namespace ib
