// The fighters' names over the panel when the fight is not the one the game
// starts with: a stage's panel may have the start's names painted in (the
// default desert's says ROOK and QUILL), so each name is written on a tag
// of ink that covers whatever the panel says there.
#pragma once

namespace ib {

struct Content;
struct FightState;
struct Screen;

void drawNameTags(Screen& screen, const Content& content, const FightState& fight);

}  // namespace ib
