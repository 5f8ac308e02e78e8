// The buttons no keyboard presses, given at the start of every fight pass
// (the time the key messages between passes are given too): the computer
// players and the training dummy.
#pragma once

#include "fight/fight_state.h"
#include "fight/move_knowledge.h"

namespace ib {

// The computer players' level in training.
constexpr int kDummyComputerLevel = 3;
// A recording for the dummy stops by itself after this long.
constexpr std::uint32_t kMaxRecordingMs = 10000;

// knowledge[0] and [1]: what is known of player 1's and player 2's
// Characters (null: nobody plays by themselves).
void playPassInput(FightState& fight, const MoveKnowledge* const knowledge[2]);

// Starts or stops the recording for the dummy at the fight's currentTime;
// a stopped recording plays back at once.
void toggleRecording(FightState& fight);
// A player 1 button while recording: the dummy presses or releases it, and
// it is kept.
void recordButton(FightState& fight, int code, bool down);

}  // namespace ib
