// The whole game's state, one object per run (tests make a fresh one), and
// the shell around it: start-up, the main loop, the window procedure, the
// splash and end screens and the error box.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/quotes.h"
#include "content/content.h"
#include "fight/fighter.h"
#include "graphics/images.h"
#include "platform/font.h"
#include "platform/platform.h"

namespace ib {

enum class GameState : std::int32_t { Splash = 0, Fight = 1, End = 2 };

const char* gameStateName(GameState s);

// Exit statuses of the program.
constexpr int kExitOk = 0;
constexpr int kExitContentError = 1;
constexpr int kExitDisplayError = 2;

struct Game {
    explicit Game(Platform& platform);
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    Platform& platform;

    // --- game flow ----------------------------------------------------------
    GameState gameState = GameState::Splash;
    bool appActive = false;
    bool slowMode = false;
    bool mainWindow = false;  // the window exists
    std::unique_ptr<Level> level;
    std::vector<std::unique_ptr<Character>> characters;  // rook, quill
    std::unique_ptr<Fighter> fighter1;
    std::unique_ptr<Fighter> fighter2;
    std::shared_ptr<Surface> quoteSurface;
    std::shared_ptr<Surface> splashSurface;
    std::shared_ptr<Surface> endSurface;
    std::unique_ptr<Font> quoteFont;
    QuoteBook quoteBook;
    std::uint32_t currentTime = 0;
    std::uint32_t decisionTime = 0;

    // --- display ------------------------------------------------------------
    std::shared_ptr<DisplayDevice> directDraw;
    std::shared_ptr<Surface> primarySurface;
    std::shared_ptr<Surface> backBuffer;

    // --- pictures -----------------------------------------------------------
    ImageRegistry images;
    bool clearPending = true;

    // --- quotes -------------------------------------------------------------
    ActiveQuote activeQuote;
    std::uint32_t lastQuoteCheck = 0;
    bool quoteFirstCall = true;
    QuoteRandom quoteRandom;

    // Pictures named by no content file that were missing, each said once.
    std::vector<std::string> reportedMissing;
    // Content that loaded but looks wrong, each said once on standard error.
    ContentWarnings contentWarnings;
};

// Sets slowMode from the arguments after the program's name.
void readArguments(Game& game, int argc, const char* const* argv);

// Start-up and the main loop; returns the exit status.
int runGame(Game& game);
// Loads everything the game shows; throws ContentError (after the error box).
void setUpGame(Game& game);
int showError(Game& game, int code, const std::string& text);
// The window procedure.
std::intptr_t windowProc(Game& game, std::uint32_t message, std::uint32_t wParam);

void drawSplash(Game& game);
void drawEndScreen(Game& game);

}  // namespace ib
