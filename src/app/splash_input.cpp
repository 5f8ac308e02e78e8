// The splash screen's responder (any key or pad button starts a fight:
// F2 one against the computer, F3 training, F4 a match, F5 the lobby, any
// other key the two-player fight) and quitting with Escape or F12.
#include "app/game.h"
#include "app/level_choice.h"
#include "app/lobby_screen.h"
#include "app/matchup.h"
#include "app/select_screen.h"
#include "app/responder.h"

namespace ib {

namespace {

class SplashKeys : public Responder {
    Response respond(Game& game, const Message& m, bool) override
    {
        if (game.fight.gameState != GameState::Splash) return Response::Pass;
        if (m.message == WM_PADBUTTONDOWN) {
            // The button is also the fight's first input.
            useQuickMatchup(game);
            startFight(game, PlayMode::TwoPlayers);
            playSound(game, {SoundKind::Splash});
            return Response::Pass;
        }
        if (m.message != WM_KEYDOWN) return Response::Pass;
        const auto key = static_cast<int>(m.wParam);
        const bool named = !game.playOptions.fighter[0].empty() || !game.playOptions.fighter[1].empty() ||
                           !game.playOptions.stage.empty();
        if (key == kKeyOnline && game.lobby.offered) {
            // Your fighter first, unless it was named at the start.
            if (game.playOptions.select && !named) openSelectScreen(game, PlayMode::TwoPlayers, false, true);
            else openLobby(game);
            return Response::TakenWithKeyUp;
        }
        if ((key == kKeyVersusComputer || key == kKeyTraining || key == kKeyMatch) && game.playOptions.select && !named) {
            openSelectScreen(game, key == kKeyTraining ? PlayMode::Training
                                   : key == kKeyMatch  ? PlayMode::TwoPlayers
                                                       : PlayMode::VersusComputer,
                             key != kKeyTraining);
            return Response::TakenWithKeyUp;
        }
        useQuickMatchup(game);
        if (key == kKeyVersusComputer && game.playOptions.chooseLevel) {
            openLevelChoice(game);
            return Response::TakenWithKeyUp;
        }
        if (key == kKeyVersusComputer) startFight(game, PlayMode::VersusComputer, true);
        else if (key == kKeyTraining) startFight(game, PlayMode::Training);
        else startFight(game, PlayMode::TwoPlayers, key == kKeyMatch);
        playSound(game, {SoundKind::Splash});
        // The key that starts a match only starts it.
        if (game.fight.match.on && key != VK_ESCAPE && key != VK_F12) return Response::TakenWithKeyUp;
        return Response::Pass;
    }
};

class QuitKeys : public Responder {
    Response respond(Game& game, const Message& m, bool) override
    {
        if (m.message != WM_KEYDOWN || (m.wParam != VK_ESCAPE && m.wParam != VK_F12)) return Response::Pass;
        game.platform.postOwnMessage({WM_CLOSE, 0});
        return Response::Taken;
    }
};

}  // namespace

std::unique_ptr<Responder> splashResponder() { return std::make_unique<SplashKeys>(); }
std::unique_ptr<Responder> quitResponder() { return std::make_unique<QuitKeys>(); }

}  // namespace ib
