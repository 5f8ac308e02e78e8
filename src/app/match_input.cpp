#include "app/match_input.h"

#include "app/game.h"
#include "app/menu_keys.h"
#include "app/responder.h"

namespace ib {

namespace {

void closeMenu(MatchState& m)
{
    m.paused = false;
    m.menu = MatchMenu::None;
    m.menuChoice = 0;
}

void goBack(Game& game)
{
    MatchState& m = game.fight.match;
    if (m.menu == MatchMenu::Pause || m.menu == MatchMenu::TrainingPause) closeMenu(m);
    else if (m.menu == MatchMenu::ConfirmQuit) closeQuitQuestion(game.fight);
}

void takeMenuKey(Game& game, MenuKey k)
{
    MatchState& m = game.fight.match;
    switch (k) {
    case MenuKey::Up: moveMenuChoice(m, -1); break;
    case MenuKey::Down: moveMenuChoice(m, 1); break;
    case MenuKey::Choose: {
        const auto items = menuItems(m.menu);
        if (m.menuChoice >= 0 && static_cast<std::size_t>(m.menuChoice) < items.size())
            chooseMenuItem(game, items[static_cast<std::size_t>(m.menuChoice)]);
        break;
    }
    case MenuKey::None: break;
    }
}

}  // namespace

bool matchKey(Game& game, int key)
{
    FightState& f = game.fight;
    MatchState& m = f.match;
    if (m.menu == MatchMenu::None) {
        if (key != VK_ESCAPE && key != kKeyPause) return false;
        openPause(f);
        return true;
    }
    // A second Escape asks whether to quit; a third says no.
    if (key == VK_ESCAPE) {
        if (m.menu == MatchMenu::ConfirmQuit) closeQuitQuestion(f);
        else askQuit(f);
        return true;
    }
    // A menu the game opened by itself takes no choice from a press made
    // as it opened: a masher's attack key must not rematch or quit.
    if (m.menu == MatchMenu::Rematch && game.platform.timeGetTime() - game.menuOpenedAt < kMenuGuardMs) return true;
    const MenuKey k = menuKeyOf(game.controllers.controls, key);
    if (k == MenuKey::None && key == kKeyPause) goBack(game);
    else takeMenuKey(game, k);
    return true;
}

bool matchPadButton(Game& game, int button)
{
    MatchState& m = game.fight.match;
    if (m.menu == MatchMenu::None) {
        if (button != kPadStart) return false;
        openPause(game.fight);
        return true;
    }
    if (m.menu == MatchMenu::Rematch && game.platform.timeGetTime() - game.menuOpenedAt < kMenuGuardMs) return true;
    const MenuKey k = menuPadButtonOf(game.controllers.controls, button);
    if (k == MenuKey::None && button == kPadStart) goBack(game);
    else takeMenuKey(game, k);
    return true;
}

void chooseMenuItem(Game& game, MenuItem item)
{
    // The presses before the choice belong to the fight it may end.
    flushStepInput(game);
    FightState& f = game.fight;
    switch (item) {
    case MenuItem::Resume: closeMenu(f.match); break;
    case MenuItem::RestartRound:
        if (game.content.level) restartRound(f, *game.content.level);
        closeMenu(f.match);
        break;
    case MenuItem::Rematch: startFight(game, f.mode, true); break;
    case MenuItem::Splash:
        closeMenu(f.match);
        f.gameState = GameState::Splash;
        break;
    case MenuItem::Quit: askQuit(f); break;
    case MenuItem::QuitYes: game.platform.postOwnMessage({WM_CLOSE, 0}); break;
    case MenuItem::QuitNo: closeQuitQuestion(f); break;
    case MenuItem::ResetPositions:
        game.stepInput.command(StepCommand::ResetPositions);
        closeMenu(f.match);
        break;
    }
}

namespace {

// In a match's fight: the pause and the menus take their keys (with their
// key-ups) and pad buttons before any fighter sees them.
class MatchMenuKeys : public Responder {
    Response respond(Game& game, const Message& m, bool) override
    {
        const FightState& f = game.fight;
        if ((!f.match.on && f.mode != PlayMode::Training) || f.gameState != GameState::Fight) return Response::Pass;
        if (m.message == WM_KEYDOWN && m.wParam != VK_F12 && matchKey(game, static_cast<int>(m.wParam)))
            return Response::TakenWithKeyUp;
        if (m.message == WM_PADBUTTONDOWN && matchPadButton(game, padCode(m.wParam))) return Response::Taken;
        return Response::Pass;
    }
};

}  // namespace

std::unique_ptr<Responder> matchMenuResponder() { return std::make_unique<MatchMenuKeys>(); }

}  // namespace ib
