// The select screen's keys and pad buttons: each player's own keys and pad
// as the controls say, and the arrows, Enter and Escape, the D-pad, A and B
// of any pad as player 1's (a pad that plays for player 2 as player 2's).
#include "app/game.h"
#include "app/menu_keys.h"
#include "app/responder.h"
#include "app/select_screen.h"
#include "input/controls.h"

namespace ib {

namespace {

struct Press {
    int player = 0;
    PlayerButton button = PlayerButton::Left;
};

std::optional<Press> keyPress(const Game& game, int key)
{
    if (const auto own = playersKey(game.controllers.controls, key))
        return Press{own->player, screenButton(own->player, own->action)};
    switch (key) {
    case VK_LEFT: return Press{1, PlayerButton::Left};
    case VK_RIGHT: return Press{1, PlayerButton::Right};
    case VK_UP: return Press{1, PlayerButton::Up};
    case VK_DOWN: return Press{1, PlayerButton::Down};
    case VK_RETURN: return Press{1, PlayerButton::Attack};
    default: return std::nullopt;
    }
}

std::optional<Press> padPress(const Game& game, int pad, int button)
{
    const auto it = game.controllers.pads.find(pad);
    const int player = it != game.controllers.pads.end() && it->second.player == 2 ? 2 : 1;
    const auto& buttons = game.controllers.controls.padButtons[static_cast<std::size_t>(player - 1)];
    for (Action a : kActions)
        if (buttons[static_cast<std::size_t>(a)] == button) return Press{player, screenButton(player, a)};
    switch (button) {
    case kPadDpadLeft: return Press{player, PlayerButton::Left};
    case kPadDpadRight: return Press{player, PlayerButton::Right};
    case kPadDpadUp: return Press{player, PlayerButton::Up};
    case kPadDpadDown: return Press{player, PlayerButton::Down};
    case kPadA: return Press{player, PlayerButton::Attack};
    case kPadB: return Press{player, PlayerButton::Block};
    default: return std::nullopt;
    }
}

// While open it takes every key but F12 (with its key-up) and every pad
// button.
class SelectKeys : public Responder {
    Response respond(Game& game, const Message& m, bool repeat) override
    {
        if (!game.selectScreen || game.fight.gameState != GameState::Splash) return Response::Pass;
        if (m.message == WM_PADBUTTONDOWN) {
            if (const auto p = padPress(game, padOf(m.wParam), padCode(m.wParam))) selectPress(game, p->player, p->button);
            else if (padCode(m.wParam) == kPadBack) game.selectScreen.reset();
            return Response::Taken;
        }
        if (m.message == WM_PADBUTTONUP) return Response::Taken;
        if (m.message != WM_KEYDOWN || m.wParam == VK_F12) return Response::Pass;
        const auto key = static_cast<int>(m.wParam);
        if (key == VK_ESCAPE) game.selectScreen.reset();
        else if (const auto p = keyPress(game, key)) {
            // A held key repeats moves, never a choice.
            if (!repeat || (p->button != PlayerButton::Attack && p->button != PlayerButton::Block))
                selectPress(game, p->player, p->button);
        }
        return Response::TakenWithKeyUp;
    }
};

}  // namespace

std::unique_ptr<Responder> selectScreenResponder() { return std::make_unique<SelectKeys>(); }

}  // namespace ib
