#include "app/responder.h"

namespace ib {

bool ResponderChain::dispatch(Game& game, const Message& m)
{
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
    c.add(controlsScreenResponder());
    c.add(splashResponder());
    c.add(matchMenuResponder());
    c.add(quitResponder());
    c.add(trainingResponder());
    c.add(fightResponder());
    return c;
}

}  // namespace ib
