#include "fight/step_input.h"

#include "fight/cpu_player.h"
#include "fight/hit_feel.h"
#include "fight/match_rules.h"
#include "fight/pass_input.h"
#include "fight/training_rules.h"

namespace ib {

namespace {

void nextDummyMode(FightState& f)
{
    TrainingState& tr = f.training;
    if (tr.recording) return;
    // The computer dummy steps through its levels before the next mode;
    // playing back is offered once something is recorded.
    int level = 0;
    if (tr.dummy == DummyMode::Computer && f.computer[1].level < kMaxComputerLevel) {
        level = f.computer[1].level + 1;
    } else {
        tr.dummy = static_cast<DummyMode>((static_cast<int>(tr.dummy) + 1) % kDummyModes);
        if (tr.dummy == DummyMode::Playback && tr.recorded.empty()) tr.dummy = DummyMode::Standing;
        if (tr.dummy == DummyMode::Computer) level = 1;
    }
    f.computer[1] = ComputerMind{};
    f.computer[1].level = level;
    tr.playStart = f.currentTime;
    tr.playNext = 0;
    if (Fighter* dummy = f.fighter(2)) holdOnly(*dummy, 0, f.currentTime);
}

void runCommand(FightState& f, const Level* level, StepCommand c)
{
    switch (c) {
    case StepCommand::ResetPositions:
        if (level) resetFighters(f, *level);
        break;
    case StepCommand::NextDummyMode: nextDummyMode(f); break;
    case StepCommand::ToggleRecording: toggleRecording(f); break;
    }
}

void applyButton(Fighter& f, const StepEvent& e, std::uint32_t t, bool& lastTaken)
{
    if (e.kind == StepEvent::Kind::Release) {
        releaseButton(f, e.button, t);
    } else if (!e.onlyAfterTaken || lastTaken) {
        lastTaken = pressButton(f, e.button, t);
    }
}

}  // namespace

void applyStepInput(FightState& fight, const Level* level, const StepInput& in)
{
    const std::uint32_t t = fight.currentTime;
    bool lastTaken = true;
    for (const StepEvent& e : in.events) {
        if (e.kind == StepEvent::Kind::Command) {
            if (fight.mode == PlayMode::Training) runCommand(fight, level, e.command);
            continue;
        }
        if (!fight.fighter1 || !fight.fighter2) continue;
        // While recording for the dummy, player 1's buttons move the dummy.
        if (fight.mode == PlayMode::Training && fight.gameState == GameState::Fight && fight.training.recording) {
            if (e.player == 1)
                recordButton(fight, buttonCode(*fight.fighter1, e.button), e.kind == StepEvent::Kind::Press);
            continue;
        }
        if (keepDuringFreeze(fight, e)) continue;
        Fighter& fighter = *fight.fighter(e.player);
        // Before a match's round begins, buttons are only held.
        if (roundStarting(fight)) {
            const int code = buttonCode(fighter, e.button);
            if (e.kind == StepEvent::Kind::Release) fighter.held.remove(code);
            else fighter.held.add(code);
            continue;
        }
        applyButton(fighter, e, t, lastTaken);
    }
}

void applyButtons(Fighter& fighter1, Fighter& fighter2, const StepInput& in, std::uint32_t t)
{
    bool lastTaken = true;
    for (const StepEvent& e : in.events)
        if (e.kind != StepEvent::Kind::Command) applyButton(e.player == 1 ? fighter1 : fighter2, e, t, lastTaken);
}

}  // namespace ib
