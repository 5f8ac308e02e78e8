// A match's rules: rounds, the round timer, who wins a round and the
// match, the banners, the pause and the menus over the fight.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "fight/fight_state.h"

namespace ib {

constexpr int kMaxRounds = 9;
constexpr std::int32_t kDefaultRounds = 3;
constexpr std::uint32_t kDefaultTimerSeconds = 99;
// How long a banner stays over the fight.
constexpr std::uint32_t kBannerMs = 1000;

// What a menu offers.
enum class MenuItem : std::int32_t { Resume, RestartRound, Rematch, Splash, Quit, ResetPositions, QuitYes, QuitNo };

// The fight becomes round 1 of a match of `rounds` rounds (best of) with a
// timer of `timerSeconds` (0: none).
void startMatch(FightState& fight, std::int32_t rounds, std::uint32_t timerSeconds);

// The fight's time for the platform's `clock`: the clock less the time the
// fight stood paused (a paused pass adds its time to that).
std::uint32_t matchClock(MatchState& match, std::uint32_t clock);

// After the pass's hits: the round starts, is decided by a knock-out or
// the timer, and 5 s later the next round starts or the match is over;
// the banners follow.
void afterMatchHits(FightState& fight, const Level& level);

// The round has not begun: its "ROUND n" and "FIGHT" banners are up. Both
// fighters stand, buttons pressed meanwhile are only held (and taken when
// "FIGHT" ends), and the round's timer has not started.
bool roundStarting(const FightState& fight);

// Both fighters back at their start with full health and their default
// moves (a person's held buttons stay held); the round (its number kept)
// starts with its banners at the fight's currentTime.
void restartRound(FightState& fight, const Level& level);

// Whole seconds left on the round's timer; -1 without a timer.
int secondsLeft(const FightState& fight);
// The banner shown now ("ROOK WINS", "ROUND 2", "ROOK WINS 2-1"), empty
// for none.
std::string bannerText(const FightState& fight);

std::span<const MenuItem> menuItems(MatchMenu menu);
const char* menuItemText(MenuItem item);
const char* matchMenuName(MatchMenu menu);
// The match's pause menu, or training's in training.
void openPause(FightState& fight);
// "Quit the game?" over the menu open now, "No" chosen; closeQuitQuestion
// goes back to the menu it was asked from.
void askQuit(FightState& fight);
void closeQuitQuestion(FightState& fight);
// The question a menu asks above its items, empty for none.
const char* menuTitle(MatchMenu menu);
// Moves the menu's choice up (-1) or down (+1), round the ends.
void moveMenuChoice(MatchState& match, int step);

}  // namespace ib
