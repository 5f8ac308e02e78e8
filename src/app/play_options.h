// How the game is played, from the command line and the splash screen's
// keys: two people, one against the computer, or training.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "fight/fight_state.h"
#include "fight/match_rules.h"

namespace ib {

// Splash keys of the modes (any other key starts the two-player fight).
constexpr int kKeyVersusComputer = 0x71;  // F2
constexpr int kKeyTraining = 0x72;        // F3
constexpr int kKeyMatch = 0x73;           // F4: a two-player match
// Training keys (F4 is a splash key only on the splash screen).
constexpr int kKeyResetPositions = 0x73;  // F4
constexpr int kKeyHitMasks = 0x74;        // F5
constexpr int kKeyInputDisplay = 0x75;    // F6
constexpr int kKeyDummyMode = 0x76;       // F7
constexpr int kKeyRecord = 0x77;          // F8
constexpr int kKeyFrameData = 0x78;       // F9

constexpr int kDefaultComputerLevel = 3;

struct PlayOptions {
    // Start in this mode at once instead of on the splash screen.
    std::optional<PlayMode> startMode;
    // The computer's level for each player (0: a person plays). Against
    // the computer without any, player 2 plays at kDefaultComputerLevel.
    int computerLevel[2] = {0, 0};
    // The computer's random numbers; none: from the clock of the fight's
    // first pass.
    std::optional<std::uint32_t> seed;
    // Two players start a match, not the single fight ("--match"); against
    // the computer it is always a match. Best of `rounds`, each with a
    // timer of `timerSeconds` (0: none).
    bool match = false;
    std::int32_t rounds = kDefaultRounds;
    std::uint32_t timerSeconds = kDefaultTimerSeconds;
    // Given on the command line: the controls file's [match] does not
    // change them.
    // F2 on the splash screen opens the choice of the computer's level,
    // first on lastLevel ("--choose-level N"; the game's own window does,
    // from the controls file's [play] level). Without it F2 starts the
    // fight at once, at computerLevel.
    bool chooseLevel = false;
    int lastLevel = kDefaultComputerLevel;
    // The fighters of players 1 and 2 and the stage, by name ("--p1 NAME",
    // "--p2 NAME", "--stage NAME"); empty: chosen on the select screen, or
    // rook, quill and desert.
    std::string fighter[2];
    std::string stage;
    // F2, F3 and F4 on the splash screen open the select screen ("--select";
    // the game's own window does). Without it they start rook v quill.
    bool select = false;
    // The choices last made on it, from the controls file's [play].
    std::string lastFighter[2];
    std::string lastStage;
    bool roundsGiven = false;
    bool timerGiven = false;
};

// Reads the play option at argv[i] ("--versus-cpu [LEVEL]", "--training",
// "--cpu PLAYER:LEVEL", "--seed N",
// "--match", "--rounds N", "--timer S", "--choose-level N", "--p1 NAME",
// "--p2 NAME", "--stage NAME", "--select") with its value; returns how many
// arguments it took, 0 when argv[i] is no play option. A bad value is said
// on standard error and left out.
int readPlayOption(int argc, const char* const* argv, int i, PlayOptions& options);

// The options that readPlayOption reads back as these (a replay keeps them).
std::vector<std::string> playArguments(const PlayOptions& options);

}  // namespace ib
