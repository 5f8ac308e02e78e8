// The controls screen, opened with F1 from the splash screen: player 1 and
// then player 2 press the key or pad button for each of their actions in
// turn. Escape keeps the old binding; a key or button another action
// already has is refused, and the screen says whose it is. After the last
// action the controls are in force, saved, and the splash screen is back.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "input/controls.h"
#include "platform/font.h"

namespace ib {

struct Game;
struct Screen;
struct Controllers;

struct ControlsScreen {
    int step = 0;  // player 1's six actions, then player 2's
    Controls editing;
    std::string refusal;  // why the last key was refused; empty when it was not
    std::unique_ptr<Font> titleFont;
};

constexpr int kControlsSteps = 2 * kActionCount;

void openControlsScreen(Game& game);
void controlsKey(Game& game, int virtualKey);
void controlsPadButton(Game& game, int button);
void drawControlsScreen(Screen& screen, const Controllers& controllers);

}  // namespace ib
