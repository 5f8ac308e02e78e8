#include "fight/pass_input.h"

#include "fight/buttons.h"
#include <algorithm>

#include "fight/cpu_player.h"

namespace ib {

namespace {

constexpr int kDummy = 2;

void playBack(FightState& fight, Fighter& dummy)
{
    TrainingState& tr = fight.training;
    const std::uint32_t t = fight.currentTime;
    if (tr.recordLength == 0 || tr.recorded.empty()) {
        holdOnly(dummy, 0, t);
        return;
    }
    // Each loop starts with nothing held, as the recording did.
    if (t - tr.playStart >= tr.recordLength) {
        holdOnly(dummy, 0, t);
        tr.playStart = t;
        tr.playNext = 0;
    }
    const std::uint32_t at = t - tr.playStart;
    while (tr.playNext < tr.recorded.size() && tr.recorded[tr.playNext].at <= at) {
        const RecordedButton& b = tr.recorded[tr.playNext++];
        if (b.down) pressButton(dummy, b.code, t);
        else releaseButton(dummy, b.code, t);
    }
}

void playDummy(FightState& fight, const MoveKnowledge* const knowledge[2])
{
    TrainingState& tr = fight.training;
    Fighter* dummy = fight.fighter(kDummy);
    if (dummy == nullptr) return;
    const std::uint32_t t = fight.currentTime;
    if (tr.recording) {
        if (t - tr.recordStart >= kMaxRecordingMs) toggleRecording(fight);
        return;  // player 1's keys move the dummy
    }
    switch (tr.dummy) {
    case DummyMode::Standing: holdOnly(*dummy, 0, t); break;
    case DummyMode::Crouching: holdOnly(*dummy, 1u << Down, t); break;
    case DummyMode::Blocking: holdOnly(*dummy, 1u << Block, t); break;
    case DummyMode::Computer:
        if (knowledge[0] && knowledge[1])
            playComputer(fight, kDummy, fight.computer[kDummy - 1].level > 0 ? fight.computer[kDummy - 1].level
                                                                             : kDummyComputerLevel,
                         *knowledge[1], *knowledge[0]);
        break;
    case DummyMode::Playback: playBack(fight, *dummy); break;
    }
}

}  // namespace

void playPassInput(FightState& fight, const MoveKnowledge* const knowledge[2])
{
    if (fight.gameState != GameState::Fight) return;
    if (fight.mode == PlayMode::Training) {
        playDummy(fight, knowledge);
        return;
    }
    for (int p = 1; p <= 2; ++p) {
        const int level = fight.computer[p - 1].level;
        if (level > 0 && knowledge[0] && knowledge[1])
            playComputer(fight, p, level, *knowledge[p - 1], *knowledge[2 - p]);
    }
}

void toggleRecording(FightState& fight)
{
    TrainingState& tr = fight.training;
    const std::uint32_t t = fight.currentTime;
    Fighter* dummy = fight.fighter(kDummy);
    if (!tr.recording) {
        tr.recording = true;
        tr.recordStart = t;
        tr.recorded.clear();
        if (dummy) holdOnly(*dummy, 0, t);
        return;
    }
    tr.recording = false;
    tr.recordLength = std::min(t - tr.recordStart, kMaxRecordingMs);
    if (dummy) holdOnly(*dummy, 0, t);
    tr.dummy = DummyMode::Playback;
    tr.playStart = t;
    tr.playNext = 0;
}

void recordButton(FightState& fight, int code, bool down)
{
    TrainingState& tr = fight.training;
    Fighter* dummy = fight.fighter(kDummy);
    if (!tr.recording || dummy == nullptr || code == 0) return;
    const std::uint32_t t = fight.currentTime;
    if (down) {
        if (!pressButton(*dummy, code, t)) return;  // a key's repeat
    } else {
        releaseButton(*dummy, code, t);
    }
    tr.recorded.push_back({t - tr.recordStart, code, down});
}

}  // namespace ib
