// Ink-brush marks on a Raster: tapered strokes with dry-brush streaks,
// irregular blots and splatter. Every mark is solid: a pixel gets the ink,
// the streak colour, or is left alone.
#pragma once

#include <vector>

#include "contentgen/prng.h"
#include "contentgen/raster.h"

namespace contentgen {

struct Ink {
    Colour solid;   // the body of a mark
    Colour streak;  // dry-brush streaks where the brush runs out
};

// A stroke from (x0, y0) to (x1, y1) whose half-width goes from r0 to r1,
// swelling a little in the middle. Streaks of the streak colour appear
// toward the end (dryness 0: none, 1: from the middle on) and the tail is
// left ragged. shape, if given, gets every pixel of the stroke's outline,
// painted or not.
void brushStroke(Raster& pic, double x0, double y0, double r0, double x1, double y1, double r1,
                 const Ink& ink, double dryness, Prng& rng, const Plot* shape = nullptr);

// A round blot with a wobbly edge.
void blot(Raster& pic, double cx, double cy, double r, Colour colour, Prng& rng,
          const Plot* shape = nullptr);

// count droplets thrown from (x, y) toward direction (dirX, dirY) within a
// cone, up to reach pixels away.
void splatter(Raster& pic, double x, double y, double dirX, double dirY, int count, double reach,
              double maxRadius, Colour colour, Prng& rng);

// A stroke along a polyline (x0, y0, x1, y1, ...): thin at both ends,
// widest (maxRadius) in the middle, with the brush lifting now and then.
void brushPath(Raster& pic, const std::vector<double>& xy, double maxRadius, const Ink& ink, Prng& rng,
               double gapChance = 0.0);

}  // namespace contentgen
