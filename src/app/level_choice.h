// Choosing the computer's level before a fight against it: F2 on the
// splash screen opens the choice over the splash picture, the players'
// up and down keys (or a pad's) move it, attack or Enter takes it and
// starts the fight, Escape or a pad's B goes back. The choice is kept in
// the controls file's [play] section for the next time.
#pragma once

#include <memory>
#include <vector>

#include "app/splash_lettering.h"

namespace ib {

struct Game;
struct Screen;
class Responder;

// "beginner", "easy", "fair", "hard", "expert" for levels 1 to 5.
const char* computerLevelName(int level);

// Opens the choice on the level last chosen.
void openLevelChoice(Game& game);
std::unique_ptr<Responder> levelChoiceResponder();
// The splash picture with the levels over it, `level` marked; presented.
void drawLevelChoice(Screen& screen, int level, const std::vector<SplashText>& lettering);

}  // namespace ib
