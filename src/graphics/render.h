// Drawing one frame of the fight into the back buffer.
#pragma once

#include <cstdint>

#include "platform/display_types.h"

namespace ib {

struct Game;
struct Fighter;
struct Image;
struct Level;
class Surface;

// Stamps currentTime, draws the whole scene and presents it.
void drawFight(Game& game);
// Draws the fighter's current frame; writes its screenRect.
HRESULT draw(Game& game, Fighter& fighter);
// Copies image with its colour key to the back buffer with its top-left
// corner at (x, y), mirrored when facing is -1, cut to the play area.
HRESULT drawClipped(Surface& backBuffer, const Level& level, const Image& image, int x, int y,
                    int facing, Rect& out);

// Health bar length in pixels for a bar picture barWidth wide.
int healthBarLength(int barWidth, double health);

}  // namespace ib
