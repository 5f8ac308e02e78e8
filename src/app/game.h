// One run of the game: the content it loaded, the screen it draws on, the
// players' controls and the session (the fight, the match, online play), and
// the shell around them: start-up, the main loop, the window procedure, the
// splash and end screens and the error box.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/controllers.h"
#include "app/game_content.h"
#include "app/online_options.h"
#include "app/play_options.h"
#include "app/responder.h"
#include "app/screen.h"
#include "app/sound_player.h"
#include "app/splash_lettering.h"
#include "fight/fight_state.h"
#include "fight/fight_step.h"
#include "platform/platform.h"

namespace ib {

class OnlinePlay;
class OnlineWatch;
class LobbyScreen;
struct SelectScreen;

// Exit statuses of the program.
constexpr int kExitOk = 0;
constexpr int kExitContentError = 1;
constexpr int kExitDisplayError = 2;
// A replay could not be read or written, or did not play back as recorded.
constexpr int kExitReplayError = 3;
// A fighter or stage named on the command line is not there.
constexpr int kExitArgumentError = 4;

struct Game {
    explicit Game(Platform& platform);
    ~Game();
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    Platform& platform;
    // Loaded once, then only read.
    Content content;
    // The display, pictures, lettering and overlays.
    Screen screen;
    // The controls, keys and pads.
    Controllers controllers;

    // --- the session: what this run is playing ----------------------------
    // Everything a pass changes: the game state, the fighters, the clock,
    // the quote shown and the quotes' random numbers.
    FightState fight;
    bool appActive = false;
    PlayOptions playOptions;
    // The input delay of online fights from the controls file, if it says.
    std::optional<int> onlineDelay;
    bool fightPlayed = false;  // a fight has started: the next one starts anew
    // The menu the last pass left open, and the platform's clock when the
    // game opened the rematch menu by itself.
    MatchMenu menuSeen = MatchMenu::None;
    std::uint32_t menuOpenedAt = 0;
    // The computer's level being chosen over the splash screen, if open.
    std::optional<int> levelChoice;
    SplashLetteringCache splashLettering;
    // The select screen, while open over the splash screen.
    std::unique_ptr<SelectScreen> selectScreen;
    // The screens that take the messages, in order.
    ResponderChain responders = gameResponders();
    // What the keys and pads gave since the last pass: the next fight
    // pass's record (taken earlier when the game changes the fight
    // between passes, so that it lands on the fight it was meant for).
    StepInput stepInput;
    // What each player held by the last WM_HELDBUTTONS of this fight.
    std::array<std::uint8_t, 2> heldByRecord{};
    // The online session, when this game is played online: it takes the
    // keys and pads and runs the passes.
    std::unique_ptr<OnlinePlay> online;
    // Watching a fight from the lobby.
    std::unique_ptr<OnlineWatch> watch;
    // The lobby screen, while open over the splash screen, and its settings.
    std::unique_ptr<LobbyScreen> lobbyScreen;
    LobbySettings lobby;
    SoundPlayer soundPlayer;
    // The sounds of the pass being run and of the messages handled before
    // it, each played once when it was added; emptied after every pass.
    SoundEvents sounds;
};

// Sets slowMode, the play options, and configPath from "--config FILE",
// from the arguments after the program's name.
void readArguments(Game& game, int argc, const char* const* argv);

// Adds a sound to the pass's sounds and plays it.
void playSound(Game& game, const SoundEvent& event);
// Leaves the splash screen for a fight in that mode, a match when `match`
// (never in training). The first fight of a run starts from the state
// set-up made; a later one from fresh fighters.
void startFight(Game& game, PlayMode mode, bool match = false);

// What the fight pass reads of the game's content.
FightRules fightRules(const Game& game);
// One pass in the Fight state: the fight step with the frame composed in
// its middle and presented.
void fightPass(Game& game);
// Applies the record of what the keys and pads gave now, before the game
// changes the fight between passes.
void flushStepInput(Game& game);

// Start-up, then the main loop; returns the exit status.
int runGame(Game& game);
// The one main loop, offline, online and in a playback: the platform's
// messages through the window procedure and the chain, then a pass (one
// step offline; online the session decides), drawn and presented, until
// the quit message. Returns its status.
int mainLoop(Game& game);
// Loads everything the game shows; throws ContentError (after the error box).
void setUpGame(Game& game);
int showError(Game& game, int code, const std::string& text);
// The window procedure.
std::intptr_t windowProc(Game& game, std::uint32_t message, std::uint32_t wParam);

// The splash screen, with lines written under its middle in `font`
// (online: what is happening); an empty line is skipped.
// `card`: on a paper card, over the picture's own lettering. `lettering`:
// what the splash says of the controls, the modes and the sound.
void drawSplash(Screen& screen, const Font* font = nullptr, const std::vector<std::string>& lines = {},
                bool card = false, const std::vector<SplashText>* lettering = nullptr);
void drawEndScreen(Screen& screen);
// The end screen's one rule: shown for kEndScreenMs, then playing alone
// goes back to the splash screen and anything else closes. Offline
// (`shownAt` null) the pass sleeps it out, and a replay keeps that one long
// pass; online the other side still talks, so passes go on and the time
// counts from *shownAt, set at the first (0: not shown yet).
void endScreenPass(Game& game, std::uint32_t now, std::uint32_t* shownAt);

}  // namespace ib
