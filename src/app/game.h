// The whole game's state, one object per run (tests make a fresh one), and
// the shell around it: start-up, the main loop, the window procedure, the
// splash and end screens and the error box.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/play_options.h"
#include "app/controls_screen.h"
#include "app/quotes.h"
#include "app/responder.h"
#include "app/sound_player.h"
#include "fight/fight_step.h"
#include "content/content.h"
#include "fight/fight_state.h"
#include "content/images.h"
#include "graphics/mask_outline.h"
#include "fight/move_knowledge.h"
#include "input/controls.h"
#include "input/pad_input.h"
#include "platform/font.h"
#include "platform/platform.h"

namespace ib {

class OnlinePlay;

// Exit statuses of the program.
constexpr int kExitOk = 0;
constexpr int kExitContentError = 1;
constexpr int kExitDisplayError = 2;
// A replay could not be read or written, or did not play back as recorded.
constexpr int kExitReplayError = 3;

struct Game {
    explicit Game(Platform& platform);
    ~Game();
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    Platform& platform;

    // Everything a pass changes: the game state, the fighters, the clock,
    // the quote shown and the quotes' random numbers.
    FightState fight;

    // --- game flow ----------------------------------------------------------
    bool appActive = false;
    bool slowMode = false;
    PlayOptions playOptions;
    // The input delay of online fights from the controls file, if it says.
    std::optional<int> onlineDelay;
    bool fightPlayed = false;  // a fight has started: the next one starts anew
    // What the computer knows of each player's Character (rook, quill).
    std::vector<MoveKnowledge> knowledge;
    // Training's overlays, drawn over the frame before it is presented.
    bool showHitMasks = false;
    bool showInputs = false;
    std::map<const HitMask*, MaskOutline> maskOutlines;  // made when first shown
    bool mainWindow = false;  // the window exists
    std::unique_ptr<Level> level;
    std::vector<std::unique_ptr<Character>> characters;  // rook, quill
    std::shared_ptr<Surface> quoteSurface;
    std::shared_ptr<Surface> splashSurface;
    std::shared_ptr<Surface> endSurface;
    std::unique_ptr<Font> quoteFont;
    QuoteBook quoteBook;
    // A match's lettering, opened when first drawn.
    std::unique_ptr<Font> bannerFont;
    std::unique_ptr<Font> timerFont;
    std::unique_ptr<Font> menuFont;

    // --- controls -------------------------------------------------------------
    // The controls file; empty: none is read or written.
    std::string configPath;
    Controls controls = defaultControls();
    // The controls came with a replay (or "--controls CODE"): the file is
    // neither read nor written, so a playback plays with the recorded ones.
    bool controlsFixed = false;
    std::vector<KeyBinding> keys = keyTable(controls);
    PadInputs pads;
    // A line at the bottom of the screen (a pad came or went) until the
    // platform's clock reaches noticeUntil; drawn over the finished frame.
    std::string notice;
    std::uint32_t noticeUntil = 0;
    // Open over the splash screen while players choose their controls.
    std::unique_ptr<ControlsScreen> controlsScreen;
    // The screens that take the messages, in order.
    ResponderChain responders = gameResponders();
    // What the keys and pads gave since the last pass: the next fight
    // pass's record (taken earlier when the game changes the fight
    // between passes, so that it lands on the fight it was meant for).
    StepInput stepInput;
    // What each player held by the last WM_HELDBUTTONS of this fight.
    std::array<std::uint8_t, 2> heldByRecord{};

    // --- display ------------------------------------------------------------
    std::shared_ptr<DisplayDevice> directDraw;
    std::shared_ptr<Surface> primarySurface;
    std::shared_ptr<Surface> backBuffer;

    // --- pictures -----------------------------------------------------------
    ImageRegistry images;
    bool clearPending = true;
    // Where each fighter was last drawn (fighter 1, fighter 2).
    Rect screenRect[2];

    // Pictures named by no content file that were missing, each said once.
    std::vector<std::string> reportedMissing;
    // Content that loaded but looks wrong, each said once on standard error.
    ContentWarnings contentWarnings;
    // The folder the content is read from, and what was read of it.
    ContentFiles contentFiles;

    // The online session, when this game is played online: it takes the
    // keys and pads and runs the passes.
    std::unique_ptr<OnlinePlay> online;

    // --- sound ----------------------------------------------------------------
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
void drawSplash(Game& game, const Font* font = nullptr, const std::vector<std::string>& lines = {});
void drawEndScreen(Game& game);
// The end screen's one rule: shown for kEndScreenMs, then playing alone
// goes back to the splash screen and anything else closes. Offline
// (`shownAt` null) the pass sleeps it out, and a replay keeps that one long
// pass; online the other side still talks, so passes go on and the time
// counts from *shownAt, set at the first (0: not shown yet).
void endScreenPass(Game& game, std::uint32_t now, std::uint32_t* shownAt);

}  // namespace ib
