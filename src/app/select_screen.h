// The select screen, before a fight against the computer (F2), a match
// (F4) and training (F3): each player moves a cursor over the fighters'
// portraits and takes one with attack (block goes back), "random" being
// one more choice; then player 1 chooses the stage and, against the
// computer, its level. Against the computer and in training player 1
// chooses both seats in turn. The choices are kept in the controls file's
// [play] section for the next time. Before the lobby (online) one player
// chooses a fighter and the stage (used when hosting), as player 1 of
// this machine, and the lobby opens.
#pragma once

#include <cstdint>
#include <memory>

#include "fight/buttons.h"
#include "fight/fight_state.h"

namespace ib {

struct Game;
class Responder;

enum class SelectStep { Fighters, Stage, Level };

// Portraits in a row of the screen's grid.
constexpr int kSelectColumns = 6;

struct SelectScreen {
    PlayMode mode = PlayMode::TwoPlayers;
    bool match = false;
    bool online = false;
    SelectStep step = SelectStep::Fighters;
    // Each seat's cursor: a place in the roster's fighters, or the number
    // of fighters for "random". And the fighter the seat took (-1: none).
    int cursor[2] = {0, 0};
    int taken[2] = {-1, -1};
    int stage = 0;  // the same over the stages
    int level = 3;
    // Passes while open: random's numbers when the run has no seed, so a
    // replay of the same passes makes the same choice.
    std::uint32_t passes = 0;
};

// Opens the screen on the choices last made; every fighter and stage is
// loaded now, so those that cannot be are shown greyed with their message.
void openSelectScreen(Game& game, PlayMode mode, bool match, bool online = false);
// One press of a player (1 or 2): Left, Right, Up, Down, Attack or Block.
void selectPress(Game& game, int player, PlayerButton b);
// The seat a player's presses move now (0 or 1), or -1 for none.
int selectSeat(const SelectScreen& s, int player);
std::unique_ptr<Responder> selectScreenResponder();
// One pass of the screen: drawn and presented.
void selectPass(Game& game);

}  // namespace ib
