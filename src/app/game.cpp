#include "app/game.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "app/controls_io.h"
#include "app/display.h"
#include "content/content_error.h"
#include "app/fight_screen.h"
#include "app/notice.h"
#include "app/replay_recorder.h"
#include "input/key_bindings.h"

namespace ib {

namespace {

constexpr std::uint32_t kEndScreenMs = 5000;
const char* const kCaption = "Inkblot Fighter";

// A screen picture the game can run without: say once that it is missing.
std::shared_ptr<Surface> loadScreenPicture(Game& game, const std::string& path)
{
    auto surface = loadTgaSurface(*game.directDraw, game.images, path);
    if (!surface &&
        std::find(game.reportedMissing.begin(), game.reportedMissing.end(), path) ==
            game.reportedMissing.end()) {
        game.reportedMissing.push_back(path);
        std::fprintf(stderr, "Inkblot Fighter: picture not found <%s>; that screen stays black\n",
                     path.c_str());
    }
    return surface;
}

void drawScreen(Game& game, const std::shared_ptr<Surface>& picture)
{
    if (picture && game.backBuffer) {
        Surface& back = *game.backBuffer;
        retryRule(game, [&] {
            return back.bltFast(0, 0, *picture, Rect{0, 0, kScreenWidth - 1, kScreenHeight - 1},
                                DDBLTFAST_NOCOLORKEY);
        });
    }
    drawNotice(game);
    present(game);
}

void runPass(Game& game)
{
    game.soundPlayer.update(game.fight.gameState);
    switch (game.fight.gameState) {
    case GameState::Splash:
        if (game.controlsScreen) drawControlsScreen(game);
        else drawSplash(game);
        break;
    case GameState::Fight: fightPass(game); break;
    case GameState::End:
        drawEndScreen(game);
        game.platform.sleep(kEndScreenMs);
        game.platform.postOwnMessage({WM_CLOSE, 0});
        break;
    }
}

void handlePadMessage(Game& game, std::uint32_t message, std::uint32_t wParam)
{
    FightState& f = game.fight;
    const int pad = padOf(wParam);
    if (message == WM_PADBUTTONDOWN && game.controlsScreen) return controlsPadButton(game, padCode(wParam));
    // A button leaves the splash screen as a key does, and is the fight's
    // first input; nothing else held on the splash screen reaches a fighter.
    if (message == WM_PADBUTTONDOWN && f.gameState == GameState::Splash) {
        f.gameState = GameState::Fight;
        playSound(game, {SoundKind::Splash});
    }
    const bool fighting = f.gameState != GameState::Splash;
    const PadTarget to{game.controls, fighting && f.fighter1 ? &*f.fighter1 : nullptr,
                       fighting && f.fighter2 ? &*f.fighter2 : nullptr, f.currentTime};
    switch (message) {
    case WM_PADADDED:
        showPadNotice(game, pad, padAdded(game.pads, pad, padCode(wParam)), true);
        break;
    case WM_PADREMOVED:
        if (game.pads.contains(pad) && game.pads[pad].connected)
            showPadNotice(game, pad, padRemoved(game.pads, to, pad), false);
        break;
    case WM_PADBUTTONDOWN: padButton(game.pads, to, pad, padCode(wParam), true); break;
    case WM_PADBUTTONUP: padButton(game.pads, to, pad, padCode(wParam), false); break;
    case WM_PADAXIS: padAxis(game.pads, to, pad, padCode(wParam), padValue(wParam)); break;
    default: break;
    }
}

}  // namespace

void playSound(Game& game, const SoundEvent& event)
{
    game.sounds.push_back(event);
    game.soundPlayer.play(event);
}

FightRules fightRules(const Game& game)
{
    return FightRules{game.level.get(), game.quoteBook.size(), &game.soundPlayer.voicedMoves()};
}

void fightPass(Game& game)
{
    // The pass only reports its sounds; they play once it is over.
    const std::size_t first = game.sounds.size();
    fightStep(game.fight, fightRules(game), game.platform.timeGetTime(),
              [&](const FightState& fight) { drawFight(game, fight); }, &game.sounds);
    for (std::size_t i = first; i < game.sounds.size(); ++i) game.soundPlayer.play(game.sounds[i]);
}

Game::Game(Platform& p) : platform(p) {}

void readArguments(Game& game, int argc, const char* const* argv)
{
    for (int i = 1; i < argc; ++i) {
        if (!argv[i]) continue;
        if (std::strcmp(argv[i], "slow") == 0) game.slowMode = true;
        if (std::strcmp(argv[i], "--config") == 0 && i + 1 < argc && argv[i + 1]) game.configPath = argv[++i];
    }
}

void setUpGame(Game& game)
{
    game.mainWindow = true;
    try {
        game.images.warnings = &game.contentWarnings;
        game.images.files = &game.contentFiles;
        LoadContext ctx{*game.directDraw, game.images};
        game.level = loadLevel(ctx, "desert");
        game.characters.push_back(loadCharacter(ctx, "rook"));
        game.characters.push_back(loadCharacter(ctx, "quill"));
        game.fight.fighter1.emplace(*game.characters[0], *game.level, Side::Left);
        game.fight.fighter2.emplace(*game.characters[1], *game.level, Side::Right);
    } catch (const ContentError& e) {
        showError(game, 0, e.what());
        throw;
    }
    game.quoteSurface = loadScreenPicture(game, "pink.screen.tga");
    if (game.quoteSurface) setSourceColorKey(*game.quoteSurface, kMagenta);
    game.splashSurface = loadScreenPicture(game, "splash.tga");
    game.endSurface = loadScreenPicture(game, "endsplash.tga");
    game.quoteFont = Font::openQuoteFont(23);
    loadQuotes(game.quoteBook, "stuff.quotes", &game.contentFiles);
    game.soundPlayer.load(game.platform.sound(), game.contentFiles, game.level->name, game.characters,
                          readSoundConfig(soundConfigPath()));
}

int showError(Game& game, int code, const std::string& text)
{
    releaseDisplay(game);
    // The whole text is shown, however long.
    game.platform.messageBox(text, kCaption);
    if (game.mainWindow) {
        game.platform.destroyWindow();
        windowProc(game, WM_DESTROY, 0);
    }
    return code;
}

std::intptr_t windowProc(Game& game, std::uint32_t message, std::uint32_t wParam)
{
    switch (message) {
    case WM_DESTROY:
        game.mainWindow = false;
        releaseDisplay(game);
        game.platform.postQuitMessage(0);
        return 0;
    case WM_ACTIVATE:
        game.appActive = (wParam >> 16) == 0;
        return 0;
    case WM_SETCURSOR:
        return 1;  // no cursor over the game
    case WM_KEYDOWN:
        // F10 switches the sound and nothing else: it does not leave the splash.
        if (wParam == VK_F10) {
            game.soundPlayer.toggle();
            return 0;
        }
        if (game.controlsScreen && wParam != VK_F12) {
            if (game.keysUpToSwallow.insert(static_cast<int>(wParam)).second)
                controlsKey(game, static_cast<int>(wParam));
            return 0;
        }
        if (game.fight.gameState == GameState::Splash && wParam == VK_F1) {
            game.keysUpToSwallow.insert(VK_F1);
            openControlsScreen(game);
            return 0;
        }
        if (game.fight.gameState == GameState::Splash) {
            game.fight.gameState = GameState::Fight;
            playSound(game, {SoundKind::Splash});
        }
        if (wParam == VK_ESCAPE || wParam == VK_F12) {
            game.platform.postOwnMessage({WM_CLOSE, 0});
            return 0;
        }
        if (FightState& f = game.fight; f.fighter1 && f.fighter2)
            handleKeyDown(game.keys, *f.fighter1, *f.fighter2, static_cast<int>(wParam), f.currentTime);
        return 0;
    case WM_KEYUP:
        if (game.keysUpToSwallow.erase(static_cast<int>(wParam))) return 0;
        if (FightState& f = game.fight; f.fighter1 && f.fighter2)
            handleKeyUp(game.keys, *f.fighter1, *f.fighter2, static_cast<int>(wParam), f.currentTime);
        return 0;
    case WM_PADADDED:
    case WM_PADREMOVED:
    case WM_PADBUTTONDOWN:
    case WM_PADBUTTONUP:
    case WM_PADAXIS:
        handlePadMessage(game, message, wParam);
        return 0;
    case WM_CLOSE:
        if (game.mainWindow) {
            game.platform.destroyWindow();
            windowProc(game, WM_DESTROY, 0);
        }
        return 0;
    default:
        return 0;
    }
}

void drawSplash(Game& game) { drawScreen(game, game.splashSurface); }
void drawEndScreen(Game& game) { drawScreen(game, game.endSurface); }

int runGame(Game& game)
{
    loadControls(game);
    try {
        if (initDisplay(game) != DD_OK) return kExitDisplayError;
    } catch (const ContentError&) {
        return kExitContentError;
    }
    Platform& p = game.platform;
    for (;;) {
        if (p.peekMessage()) {
            Message m = p.getMessage();
            if (game.recorder && !p.lastTakenWasOwn()) game.recorder->message(game, m);
            if (m.message == WM_QUIT) return static_cast<int>(m.wParam);
            windowProc(game, m.message, m.wParam);
            continue;
        }
        if (!game.appActive) {
            p.waitMessage();
            continue;
        }
        p.beginPass();
        if (game.recorder) {
            // A fight pass reads the clock once and keeps it in
            // currentTime; the splash and end screens read none, so their
            // passes are recorded at the time they began.
            const bool fight = game.fight.gameState == GameState::Fight;
            const std::uint32_t began = fight ? 0 : p.timeGetTime();
            runPass(game);
            game.recorder->pass(game, fight ? game.fight.currentTime : began);
        } else {
            runPass(game);
        }
        if (!p.endPass()) return kExitOk;
        game.sounds.clear();
    }
}

}  // namespace ib
