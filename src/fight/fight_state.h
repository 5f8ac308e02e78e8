// Everything a pass of the game changes, as one value: copying it is a
// snapshot, assigning it a restore, == compares two, and hashFight gives a
// number that is the same for the same fight on every run and machine.
// Content (Characters, Moves, Frames) is pointed to, never copied: the
// content of a run does not change while it plays.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

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

// Who plays: two people at one keyboard, one person against the computer,
// or one person training against a dummy.
enum class PlayMode : std::int32_t { TwoPlayers = 0, VersusComputer = 1, Training = 2 };

const char* playModeName(PlayMode m);

// The generator behind the computer players' choices (xorshift32), seeded
// once when the fight starts.
struct ComputerRandom {
    std::uint32_t state = 0x9E3779B9u;
    void seed(std::uint32_t s) { state = s != 0 ? s : 0x9E3779B9u; }
    std::uint32_t next()
    {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    }
    // 0 to n - 1 (n > 0).
    int below(int n) { return static_cast<int>(next() % static_cast<std::uint32_t>(n)); }
    friend bool operator==(const ComputerRandom&, const ComputerRandom&) = default;
};

// What a computer player has in mind: its level (0: a person plays), what
// it is doing until when, and the opponent's move it last reacted to.
struct ComputerMind {
    std::int32_t level = 0;
    std::int32_t plan = 0;
    std::uint32_t planUntil = 0;
    std::uint32_t nextThink = 0;
    std::uint32_t watchedStart = 0;  // the opponent's moveStart it reacted to
    std::int32_t watchedMove = -1;   // and that move's place in its Character
    bool willBlock = false;          // whether it blocks that move
    // How it plays this round: 0 not chosen yet, 1 at its best, 2 below
    // it (as the level below would).
    std::int32_t form = 0;
    // Its last two attacks (their places in its Character, counted from
    // 1; 0: none), which it does not make again at once.
    std::int32_t recentAttacks[2] = {0, 0};
    friend bool operator==(const ComputerMind&, const ComputerMind&) = default;
};

// What the training dummy does.
enum class DummyMode : std::int32_t { Standing = 0, Crouching, Blocking, Computer, Playback };
constexpr int kDummyModes = 5;
const char* dummyModeName(DummyMode m);

// A button of player 1 pressed or released while recording for the dummy,
// `at` ms after the recording started.
struct RecordedButton {
    std::uint32_t at = 0;
    std::int32_t code = 0;
    bool down = false;
    friend bool operator==(const RecordedButton&, const RecordedButton&) = default;
};

// Training: the dummy, the hits that refill health, the recording.
struct TrainingState {
    DummyMode dummy = DummyMode::Standing;
    std::uint32_t lastHitTime = 0;
    bool refillDue = false;
    std::int32_t hitX = -1, hitY = -1;  // screen pixel of the last hit; -1: none
    bool recording = false;
    std::uint32_t recordStart = 0;
    std::uint32_t recordLength = 0;
    std::vector<RecordedButton> recorded;
    std::uint32_t playStart = 0;   // when the playback's current loop began
    std::uint32_t playNext = 0;    // the next recorded button to play
    friend bool operator==(const TrainingState&, const TrainingState&) = default;
};

// A match: rounds until one player has won most of them, each round with
// a timer; what is shown over the fight (a banner, a menu); and the pause,
// during which the fight's clock stands still.
enum class Banner : std::int32_t { None = 0, Round, Fight, Winner, Time, Draw, MatchOver };
// TrainingPause is training's pause (training is no match, but pauses
// the same way); ConfirmQuit asks once more before the game closes.
enum class MatchMenu : std::int32_t { None = 0, Pause, Rematch, TrainingPause, ConfirmQuit };

struct MatchState {
    bool on = false;                  // false: the single fight that ends the game
    std::int32_t rounds = 3;          // best of
    std::uint32_t timerSeconds = 99;  // 0: no timer
    std::int32_t round = 1;
    std::int32_t roundsWon[2] = {0, 0};
    std::uint32_t roundStart = 0;     // fight time the round began
    std::int32_t roundWinner = -1;    // -1: undecided; 0: a draw; else the player
    std::uint32_t roundEnd = 0;       // fight time the round was decided
    std::int32_t matchWinner = -1;    // -1: the match goes on; 0: a draw; else the player
    Banner banner = Banner::None;
    std::uint32_t bannerStart = 0;
    // The platform's clock at the last pass, and all the time the fight
    // stood paused: the fight's time is the clock less pausedTotal.
    std::uint32_t lastClock = 0;
    std::uint32_t pausedTotal = 0;
    bool paused = false;
    MatchMenu menu = MatchMenu::None;
    std::int32_t menuChoice = 0;
    friend bool operator==(const MatchState&, const MatchState&) = default;
};

// A button pressed or released during a hit-stop, taken when it ends.
struct FrozenButton {
    std::int32_t player = 1;
    std::int32_t button = 0;  // the player's button (PlayerButton)
    bool down = true;
    bool onlyAfterTaken = false;
    friend bool operator==(const FrozenButton&, const FrozenButton&) = default;
};

// Hits one player lands while the other still reels from the last one.
struct Combo {
    std::int32_t count = 0;
    double damage = 0.0;
    const Move* reaction = nullptr;  // the victim's reaction to the last hit
    std::uint32_t reactionStart = 0;
    bool ended = false;              // the victim has recovered
    std::uint32_t endedAt = 0;
    friend bool operator==(const Combo&, const Combo&) = default;
};

// What makes a hit felt, outside the quick fight: the hit-stop (both
// fighters freeze and the fight's clock stands still), the spark, the
// struck fighter's flash, the shake and the combos. Effect times are
// counted on the effect clock, the fight's time plus the time it stood
// frozen, which goes on through a freeze.
struct HitFeel {
    std::uint32_t freezeLeft = 0;   // ms of hit-stop still to come
    std::uint32_t frozenTotal = 0;  // all the time the fight stood frozen
    std::vector<FrozenButton> frozenButtons;
    std::int32_t sparkX = -1, sparkY = -1;  // -1: no spark yet
    std::uint32_t sparkAt = 0;
    bool sparkBlocked = false;
    std::int32_t sparkBy = 0;  // the player whose strike made it
    std::int32_t flash[2] = {0, 0};  // frames left to flash, players 1 and 2
    bool shaking = false;
    std::uint32_t shakeAt = 0;
    Combo combo[2];  // by the attacking player
    // Training's frame data: each player's last move that can strike, and
    // after the last hit or block how many ms sooner its attacker (player
    // advantageOf; 0: none yet) can act than the other (less than 0: later).
    const Move* lastAttack[2] = {nullptr, nullptr};
    std::int32_t advantageOf = 0;
    std::int32_t advantage = 0;
    friend bool operator==(const HitFeel&, const HitFeel&) = default;
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
    PlayMode mode = PlayMode::TwoPlayers;
    ComputerMind computer[2];  // players 1 and 2
    ComputerRandom computerRandom;
    // The computer's generator is seeded with the clock of the fight's
    // first pass (when no seed was given).
    bool seedFromClock = false;
    TrainingState training;
    MatchState match;
    HitFeel feel;

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
