#include "app/level_choice.h"

#include "app/controls_io.h"
#include "app/display.h"
#include "app/game.h"
#include "app/menu_keys.h"
#include "app/notice.h"
#include "app/responder.h"
#include "fight/cpu_player.h"

namespace ib {

namespace {


void take(Game& game)
{
    const int level = *game.levelChoice;
    game.levelChoice.reset();
    PlayOptions& o = game.playOptions;
    o.lastLevel = level;
    o.computerLevel[0] = 0;
    o.computerLevel[1] = level;
    rememberPlayChoices(game, {{"level", std::to_string(level)}}, "the computer's level is");
    startFight(game, PlayMode::VersusComputer, true);
    playSound(game, {SoundKind::Splash});
}

void move(Game& game, int step)
{
    int& level = *game.levelChoice;
    level = (level - 1 + step + kMaxComputerLevel) % kMaxComputerLevel + 1;
}

// While the choice is open it takes every key but F12, with its key-up,
// and every pad button.
class LevelChoiceKeys : public Responder {
    Response respond(Game& game, const Message& m, bool repeat) override
    {
        if (!game.levelChoice || game.fight.gameState != GameState::Splash) return Response::Pass;
        if (m.message == WM_PADBUTTONDOWN) {
            const int b = padCode(m.wParam);
            const MenuKey k = menuPadButtonOf(game.controllers.controls, b);
            if (k == MenuKey::Up) move(game, -1);
            else if (k == MenuKey::Down) move(game, 1);
            else if (k == MenuKey::Choose || b == kPadStart) take(game);
            else if (b == kPadB || b == kPadBack) game.levelChoice.reset();
            return Response::Taken;
        }
        if (m.message != WM_KEYDOWN || m.wParam == VK_F12) return Response::Pass;
        const auto key = static_cast<int>(m.wParam);
        const MenuKey k = menuKeyOf(game.controllers.controls, key);
        if (k == MenuKey::Up) move(game, -1);
        else if (k == MenuKey::Down) move(game, 1);
        else if (repeat) return Response::TakenWithKeyUp;
        else if (k == MenuKey::Choose) take(game);
        else if (key == VK_ESCAPE) game.levelChoice.reset();
        else if (key >= '1' && key < '1' + kMaxComputerLevel) *game.levelChoice = key - '0';
        return Response::TakenWithKeyUp;
    }
};

}  // namespace

const char* computerLevelName(int level)
{
    static const char* const kNames[] = {"beginner", "easy", "fair", "hard", "expert"};
    return level >= 1 && level <= kMaxComputerLevel ? kNames[level - 1] : "";
}

void openLevelChoice(Game& game)
{
    const int last = game.playOptions.lastLevel;
    game.levelChoice = last >= 1 && last <= kMaxComputerLevel ? last : kDefaultComputerLevel;
}

std::unique_ptr<Responder> levelChoiceResponder() { return std::make_unique<LevelChoiceKeys>(); }

void drawLevelChoice(Screen& screen, int level, const std::vector<SplashText>& lettering)
{
    std::vector<std::string> lines{"The computer's level", ""};
    for (int l = 1; l <= kMaxComputerLevel; ++l)
        lines.push_back(std::string(l == level ? "> " : "   ") + std::to_string(l) + "  " + computerLevelName(l) +
                        (l == level ? " <" : ""));
    lines.push_back("");
    lines.push_back("up and down, then attack or Enter; Escape goes back");
    drawSplash(screen, screen.quoteFont.get(), lines, true, &lettering);
}

}  // namespace ib
