#include "app/responder.h"

#include "app/level_choice.h"
#include "app/lobby_screen.h"

namespace ib {

namespace {

// Pad buttons kept beside keys in one set.
constexpr std::uint32_t kPadHeld = 0x80000000u;

}  // namespace

bool ResponderChain::dispatch(Game& game, const Message& m)
{
    const bool key = m.message == WM_KEYDOWN || m.message == WM_KEYUP;
    const bool pad = m.message == WM_PADBUTTONDOWN || m.message == WM_PADBUTTONUP;
    if (key || pad) {
        const std::uint32_t code = key ? m.wParam : kPadHeld | m.wParam;
        if (m.message == WM_KEYDOWN || m.message == WM_PADBUTTONDOWN) {
            down_.insert(code);
            if (heldBack_.contains(code)) return true;
        } else {
            down_.erase(code);
            if (heldBack_.erase(code)) {
                keysTaken_.erase(m.wParam);
                return true;
            }
        }
    }
    if (m.message == WM_KEYUP && keysTaken_.erase(m.wParam)) return true;
    const bool repeat = m.message == WM_KEYDOWN && keysTaken_.contains(m.wParam);
    for (const auto& r : chain_) {
        switch (r->respond(game, m, repeat)) {
        case Response::Pass: continue;
        case Response::TakenWithKeyUp:
            if (m.message == WM_KEYDOWN) keysTaken_.insert(m.wParam);
            return true;
        case Response::Taken: return true;
        }
    }
    return false;
}

ResponderChain gameResponders()
{
    ResponderChain c;
    c.add(onlineResponder());
    c.add(lobbyResponder());
    c.add(controlsScreenResponder());
    c.add(selectScreenResponder());
    c.add(levelChoiceResponder());
    c.add(splashResponder());
    c.add(matchMenuResponder());
    c.add(quitResponder());
    c.add(trainingResponder());
    c.add(fightResponder());
    return c;
}

}  // namespace ib
