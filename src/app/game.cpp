#include "app/game.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "app/controls_io.h"
#include "app/display.h"
#include "content/content_error.h"
#include "graphics/tga_surface.h"
#include "app/fight_screen.h"
#include "app/level_choice.h"
#include "app/lobby_screen.h"
#include "app/match_input.h"
#include "app/matchup.h"
#include "app/select_screen.h"
#include "app/match_overlay.h"
#include "app/notice.h"
#include "app/online_game.h"
#include "app/online_watch.h"
#include "app/training_overlay.h"
#include "fight/training_rules.h"
#include "fight/cpu_player.h"
#include "input/key_bindings.h"
#include "fight/pass_input.h"

namespace ib {

namespace {

// How long the end screen shows.
constexpr std::uint32_t kEndScreenMs = 5000;
const char* const kCaption = "Inkblot Fighter";

// A screen picture the game can run without: say once that it is missing.
std::shared_ptr<Surface> loadScreenPicture(Screen& screen, const std::string& path)
{
    auto surface = loadTgaSurface(*screen.directDraw, screen.images, path);
    if (!surface &&
        std::find(screen.reportedMissing.begin(), screen.reportedMissing.end(), path) ==
            screen.reportedMissing.end()) {
        screen.reportedMissing.push_back(path);
        std::fprintf(stderr, "Inkblot Fighter: picture not found <%s>; that screen stays black\n",
                     path.c_str());
    }
    return surface;
}

void runPass(Game& game)
{
    if (game.online) {
        game.online->pass(game);
        if (game.online->leaving()) leaveOnlineFight(game);
        return;
    }
    if (game.watch) {
        game.watch->pass(game);
        if (game.watch->leaving()) leaveWatch(game);
        return;
    }
    if (game.lobbyScreen) {
        lobbyPass(game);
        return;
    }
    game.soundPlayer.update(game.fight.gameState);
    // Off the fight, what the keys and pads gave is taken now.
    if (game.fight.gameState != GameState::Fight) flushStepInput(game);
    switch (game.fight.gameState) {
    case GameState::Splash:
        if (game.controllers.controlsScreen) drawControlsScreen(game.screen, game.controllers);
        else if (game.selectScreen) selectPass(game);
        else {
            const auto& lettering = game.splashLettering.of(game.controllers.controls, game.soundPlayer.on());
            if (game.levelChoice) drawLevelChoice(game.screen, *game.levelChoice, lettering);
            else drawSplash(game.screen, nullptr, {}, false, &lettering);
        }
        break;
    case GameState::Fight: {
        fightPass(game);
        // The game opened the rematch menu: keys held now do nothing in it
        // until they are released, and presses wait a moment.
        const MatchMenu menu = game.fight.match.menu;
        if (menu == MatchMenu::Rematch && game.menuSeen != MatchMenu::Rematch) {
            game.menuOpenedAt = game.platform.timeGetTime();
            game.responders.holdBack();
        }
        game.menuSeen = menu;
        break;
    }
    case GameState::End: endScreenPass(game, 0, nullptr); break;
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
    FightRules rules{game.content.level.get(), game.content.quoteBook.size(), &game.soundPlayer.voicedMoves()};
    if (game.content.knowledge.size() == 2) {
        rules.knowledge[0] = &game.content.knowledge[0];
        rules.knowledge[1] = &game.content.knowledge[1];
    }
    return rules;
}

void fightPass(Game& game)
{
    // The pass only reports its sounds; they play once it is over.
    const std::size_t first = game.sounds.size();
    FightRules rules = fightRules(game);
    rules.quoteEndsWhenDrawn = true;
    const StepMark mark =
        beginFightStep(game.fight, rules, game.platform.timeGetTime(), game.stepInput, &game.sounds);
    game.stepInput.clear();
    // The frame, drawn from the fight as it stands mid-pass.
    const FightState& fight = game.fight;
    bool drawn = composeFight(game.screen, game.content, fight);
    if (drawn) {
        drawTrainingOverlays(game.screen, fight);
        drawMatchOverlays(game.screen, game.content, fight);
        present(game.screen);
    }
    finishFightStep(game.fight, rules, mark, drawn, &game.sounds);
    for (std::size_t i = first; i < game.sounds.size(); ++i) game.soundPlayer.play(game.sounds[i]);
}
void startFight(Game& game, PlayMode mode, bool match)
{
    flushStepInput(game);
    game.heldByRecord = {};
    FightState& f = game.fight;
    if (game.fightPlayed && f.fighter1 && f.fighter2 && game.content.level) {
        const Character& c1 = *f.fighter1->character;
        const Character& c2 = *f.fighter2->character;
        f = FightState{};
        f.fighter1.emplace(c1, *game.content.level, Side::Left);
        f.fighter2.emplace(c2, *game.content.level, Side::Right);
    }
    game.fightPlayed = true;
    f.gameState = GameState::Fight;
    f.mode = mode;
    const PlayOptions& o = game.playOptions;
    if (match && mode != PlayMode::Training) startMatch(f, o.rounds, o.timerSeconds);
    if (mode == PlayMode::TwoPlayers) return;
    // Without a seed, the first pass's clock seeds the computer's numbers:
    // a replay of the passes' clocks and messages plays the same fight.
    if (o.seed) f.computerRandom.seed(*o.seed);
    else f.seedFromClock = true;
    if (mode == PlayMode::VersusComputer) {
        f.computer[0].level = o.computerLevel[0];
        f.computer[1].level = o.computerLevel[1];
        if (f.computer[0].level == 0 && f.computer[1].level == 0) f.computer[1].level = kDefaultComputerLevel;
    }
}

Game::Game(Platform& p) : platform(p), screen(p) {}
Game::~Game() = default;

void readArguments(Game& game, int argc, const char* const* argv)
{
    for (int i = 1; i < argc; ++i) {
        if (!argv[i]) continue;
        if (const int taken = readPlayOption(argc, argv, i, game.playOptions); taken > 0) {
            i += taken - 1;
            continue;
        }
        if (std::strcmp(argv[i], "slow") == 0) game.screen.slowMode = true;
        if (std::strcmp(argv[i], "--config") == 0 && i + 1 < argc && argv[i + 1]) game.controllers.configPath = argv[++i];
        if (std::strcmp(argv[i], "--controls") == 0 && i + 1 < argc && argv[i + 1]) {
            game.controllers.controlsFixed = true;
            if (!readControlsCode(argv[++i], game.controllers.controls))
                std::fprintf(stderr, "Inkblot Fighter: --controls \"%s\" is not a controls code; the default controls are used\n",
                             argv[i]);
        }
    }
}

void setUpGame(Game& game)
{
    game.screen.mainWindow = true;
    try {
        game.screen.images.warnings = &game.content.contentWarnings;
        game.screen.images.files = &game.content.contentFiles;
        LoadContext ctx{*game.screen.directDraw, game.screen.images};
        ContentFiles* files = &game.content.contentFiles;
        {
            const ContentPart part(files, stagePart("desert"));
            game.content.level = loadLevel(ctx, "desert");
        }
        for (const char* name : {"rook", "quill"}) {
            const ContentPart part(files, fighterPart(name));
            game.content.characters.push_back(loadCharacter(ctx, name));
        }
        game.fight.fighter1.emplace(*game.content.characters[0], *game.content.level, Side::Left);
        game.fight.fighter2.emplace(*game.content.characters[1], *game.content.level, Side::Right);
        game.content.knowledge.clear();
        for (const auto& c : game.content.characters) game.content.knowledge.push_back(learnMoves(*c));
    } catch (const ContentError& e) {
        std::string text = e.what();
        if (const std::string& tried = game.content.contentFiles.foldersTried(); !tried.empty()) text += "\n" + tried;
        showError(game, 0, text);
        throw;
    }
    game.screen.quoteSurface = loadScreenPicture(game.screen, "pink.screen.tga");
    if (game.screen.quoteSurface) setSourceColorKey(*game.screen.quoteSurface, kMagenta);
    game.screen.splashSurface = loadScreenPicture(game.screen, "splash.tga");
    game.screen.endSurface = loadScreenPicture(game.screen, "endsplash.tga");
    game.screen.quoteFont = Font::openQuoteFont(23);
    loadQuotes(game.content.quoteBook, "stuff.quotes", &game.content.contentFiles);
    game.content.startQuotes = game.content.quoteBook;
    // Fighters and stages loaded from here on count apart from the start's.
    game.content.contentFiles.startUpDone();
    game.soundPlayer.load(game.platform.sound(), game.content.contentFiles, game.content.level->name, game.content.characters,
                          readSoundConfig(soundConfigPath()));
}

int showError(Game& game, int code, const std::string& text)
{
    releaseDisplay(game);
    // The whole text is shown, however long.
    game.platform.messageBox(text, kCaption);
    if (game.screen.mainWindow) {
        game.platform.destroyWindow();
        windowProc(game, WM_DESTROY, 0);
    }
    return code;
}

std::intptr_t windowProc(Game& game, std::uint32_t message, std::uint32_t wParam)
{
    switch (message) {
    case WM_DESTROY:
        game.screen.mainWindow = false;
        releaseDisplay(game);
        game.platform.postQuitMessage(0);
        return 0;
    case WM_ACTIVATE:
        game.appActive = (wParam >> 16) == 0;
        return 0;
    case WM_SETCURSOR:
        return 1;  // no cursor over the game
    case WM_KEYDOWN:
        // F10 switches the sound and nothing else: it does not leave the
        // splash. Online it is a key like any other.
        if (wParam == VK_F10 && !game.online) {
            game.soundPlayer.toggle();
            return 0;
        }
        game.responders.dispatch(game, {message, wParam});
        return 0;
    case WM_KEYUP:
    case WM_HELDBUTTONS:
    case WM_PADADDED:
    case WM_PADREMOVED:
    case WM_PADBUTTONDOWN:
    case WM_PADBUTTONUP:
    case WM_PADAXIS:
        game.responders.dispatch(game, {message, wParam});
        return 0;
    case WM_CLOSE:
        if (game.screen.mainWindow) {
            game.platform.destroyWindow();
            windowProc(game, WM_DESTROY, 0);
        }
        return 0;
    default:
        return 0;
    }
}

void endScreenPass(Game& game, std::uint32_t now, std::uint32_t* shownAt)
{
    if (!shownAt) {
        drawEndScreen(game.screen);
        game.platform.sleep(kEndScreenMs);
    } else {
        if (*shownAt == 0) {
            *shownAt = now | 1;
            drawEndScreen(game.screen);
        }
        if (now - *shownAt <= kEndScreenMs) return;
    }
    // Playing alone offline, the player may fight again.
    if (game.online && game.online->viaLobby()) game.online->leave();
    else if (game.fight.mode != PlayMode::TwoPlayers && !game.online) game.fight.gameState = GameState::Splash;
    else game.platform.postOwnMessage({WM_CLOSE, 0});
}

int runGame(Game& game)
{
    loadControls(game);
    try {
        if (initDisplay(game) != DD_OK) return kExitDisplayError;
    } catch (const ContentError&) {
        return kExitContentError;
    }
    if (const std::string why = useNamedMatchup(game); !why.empty()) {
        std::fprintf(stderr, "Inkblot Fighter: %s\n", why.c_str());
        return kExitArgumentError;
    }
    if (const auto mode = game.playOptions.startMode)
        startFight(game, *mode, game.playOptions.match || *mode == PlayMode::VersusComputer);
    return mainLoop(game);
}

int mainLoop(Game& game)
{
    Platform& p = game.platform;
    for (;;) {
        if (p.peekMessage()) {
            Message m = p.getMessage();
            if (m.message == WM_QUIT) {
                if (game.online) game.online->quit(game);
                return static_cast<int>(m.wParam);
            }
            windowProc(game, m.message, m.wParam);
            continue;
        }
        // Online the game never waits: the other machine does not.
        if (!game.appActive && !game.online && !game.lobbyScreen && !game.watch) {
            p.waitMessage();
            continue;
        }
        p.beginPass();
        runPass(game);
        if (!p.endPass()) return kExitOk;
        game.sounds.clear();
        // Online, the session is asked again after a breath.
        if (game.online || game.lobbyScreen || game.watch) p.sleep(1);
    }
}

}  // namespace ib
