// What reaches the fight in one step from outside it: the players'
// button presses and releases and the step's commands, in the order they
// came. Every source writes into one: the keyboard and pads through their
// bindings, an online fight from both players' held buttons, training's
// keys. The step applies it first, before anything moves, at the time the
// previous step left on the clock; the computer players and the training
// dummy add their presses inside the step after it.
#pragma once

#include <cstdint>
#include <vector>

#include "fight/buttons.h"
#include "fight/fight_state.h"

namespace ib {

struct Level;

// Training's commands.
enum class StepCommand : std::uint8_t { ResetPositions, NextDummyMode, ToggleRecording };

struct StepEvent {
    enum class Kind : std::uint8_t { Press, Release, Command };
    Kind kind = Kind::Press;
    std::uint8_t player = 1;  // 1 or 2
    PlayerButton button = PlayerButton::Left;
    // A press that goes ahead only when the press before it in the record
    // was taken (one key bound for both players: a repeat of player 1's
    // goes no further).
    bool onlyAfterTaken = false;
    StepCommand command = StepCommand::ResetPositions;
    friend bool operator==(const StepEvent&, const StepEvent&) = default;
};

struct StepInput {
    std::vector<StepEvent> events;

    void press(int player, PlayerButton b, bool onlyAfterTaken = false)
    {
        events.push_back({StepEvent::Kind::Press, static_cast<std::uint8_t>(player), b, onlyAfterTaken});
    }
    void release(int player, PlayerButton b)
    {
        events.push_back({StepEvent::Kind::Release, static_cast<std::uint8_t>(player), b});
    }
    void command(StepCommand c)
    {
        StepEvent e;
        e.kind = StepEvent::Kind::Command;
        e.command = c;
        events.push_back(e);
    }
    bool empty() const { return events.empty(); }
    void clear() { events.clear(); }
    friend bool operator==(const StepInput&, const StepInput&) = default;
};

// Applies the record at the fight's currentTime, in order: a press or a
// release on the player's fighter (in training, while a recording runs,
// player 1's go to the dummy and are kept), a command on the training
// state. A press of a button already held changes nothing (a key's
// repeat). `level` is needed to put the fighters back in their places.
void applyStepInput(FightState& fight, const Level* level, const StepInput& in);
// The presses and releases alone, on two fighters at time t.
void applyButtons(Fighter& fighter1, Fighter& fighter2, const StepInput& in, std::uint32_t t);

}  // namespace ib
