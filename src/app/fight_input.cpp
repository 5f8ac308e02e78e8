// The fight's responders: training's own keys, then the players' keys and
// pads, written into the record the next fight pass applies.
#include "app/game.h"
#include "app/notice.h"
#include "app/responder.h"
#include "app/training_overlay.h"
#include "input/key_bindings.h"
#include "net/step_bits.h"

namespace ib {

namespace {

// Whose keys the keyboard and pads give (bit 0 player 1, bit 1 player 2).
unsigned keyboardPlayers(const FightState& f)
{
    if (f.mode == PlayMode::TwoPlayers) return kBothPlayers;
    unsigned players = f.computer[0].level == 0 ? 1u : 0u;
    if (f.mode == PlayMode::VersusComputer && f.computer[1].level == 0) players |= 2u;
    return players;
}

// Training's own keys. Those that change the fight are commands of the
// step's record; the overlays are the screen's.
class TrainingKeys : public Responder {
    Response respond(Game& game, const Message& m, bool) override
    {
        const FightState& f = game.fight;
        if (m.message != WM_KEYDOWN || f.mode != PlayMode::Training || f.gameState != GameState::Fight ||
            !f.fighter1 || !f.fighter2)
            return Response::Pass;
        switch (static_cast<int>(m.wParam)) {
        case kKeyResetPositions: game.stepInput.command(StepCommand::ResetPositions); break;
        case kKeyHitMasks: game.screen.showHitMasks = !game.screen.showHitMasks; break;
        case kKeyInputDisplay: game.screen.showInputs = !game.screen.showInputs; break;
        case kKeyFrameData: game.screen.showFrameData = !game.screen.showFrameData; break;
        case kKeyDummyMode: game.stepInput.command(StepCommand::NextDummyMode); break;
        case kKeyRecord: game.stepInput.command(StepCommand::ToggleRecording); break;
        default: return Response::Pass;
        }
        return Response::Taken;
    }
};

void padMessage(Game& game, const Message& m)
{
    FightState& f = game.fight;
    const int pad = padOf(m.wParam);
    // Pads, like the keyboard, drive only the fighters no computer plays;
    // on the splash screen what they hold waits for the fight.
    const bool fighting = f.gameState != GameState::Splash && f.fighter1 && f.fighter2;
    const PadTarget to{game.controllers.controls, fighting ? &game.stepInput : nullptr, keyboardPlayers(f)};
    switch (m.message) {
    case WM_PADADDED: showPadNotice(game.screen, pad, padAdded(game.controllers.pads, pad, padCode(m.wParam)), true); break;
    case WM_PADREMOVED:
        if (game.controllers.pads.contains(pad) && game.controllers.pads[pad].connected)
            showPadNotice(game.screen, pad, padRemoved(game.controllers.pads, to, pad), false);
        break;
    case WM_PADBUTTONDOWN: padButton(game.controllers.pads, to, pad, padCode(m.wParam), true); break;
    case WM_PADBUTTONUP: padButton(game.controllers.pads, to, pad, padCode(m.wParam), false); break;
    case WM_PADAXIS: padAxis(game.controllers.pads, to, pad, padCode(m.wParam), padValue(m.wParam)); break;
    default: break;
    }
}

// The players' keys and pads, as the step's record.
class FightKeys : public Responder {
    Response respond(Game& game, const Message& m, bool) override
    {
        if (m.message >= WM_PADADDED && m.message <= WM_PADAXIS) {
            padMessage(game, m);
            return Response::Taken;
        }
        const FightState& f = game.fight;
        if (m.message == WM_HELDBUTTONS) {
            const net::StepBitsPair now{static_cast<net::StepBits>(m.wParam & net::kAllButtons),
                                        static_cast<net::StepBits>((m.wParam >> 8) & net::kAllButtons)};
            const StepInput changed = net::stepInputOf(game.heldByRecord, now);
            game.stepInput.events.insert(game.stepInput.events.end(), changed.events.begin(), changed.events.end());
            game.heldByRecord = now;
            return Response::Taken;
        }
        if (m.message != WM_KEYDOWN && m.message != WM_KEYUP) return Response::Pass;
        if (f.fighter1 && f.fighter2)
            keyToStep(game.controllers.keys, game.stepInput, static_cast<int>(m.wParam), m.message == WM_KEYDOWN,
                      keyboardPlayers(f));
        return Response::Taken;
    }
};

}  // namespace

std::unique_ptr<Responder> trainingResponder() { return std::make_unique<TrainingKeys>(); }
std::unique_ptr<Responder> fightResponder() { return std::make_unique<FightKeys>(); }

void flushStepInput(Game& game)
{
    if (game.stepInput.empty()) return;
    applyStepInput(game.fight, game.content.level.get(), game.stepInput);
    game.stepInput.clear();
}

}  // namespace ib
