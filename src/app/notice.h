// A short line at the bottom of the screen for two seconds, over whatever
// the pass drew (the splash, a fight frame): which pad joined or left
// which player. And the edged text the online lines are written in.
#pragma once

#include <string>

namespace ib {

struct Screen;
class Font;

constexpr std::uint32_t kNoticeMs = 2000;

void showNotice(Screen& screen, std::string text);
// "Pad 2 (name) joined player 1", "... left player 1", "... joined; both
// players have a pad".
void showPadNotice(Screen& screen, int pad, int player, bool joined);
// Draws the line into the back buffer while it is due; once it is over,
// has the next fight frame drawn whole.
void drawNotice(Screen& screen);
// A line of text at (x, y), dark on a light edge: for the screens that are
// light where it goes (the splash screen, under the fight's health bars).
void drawEdgedText(Screen& screen, const Font& font, int x, int y, const std::string& text);

}  // namespace ib
