// The desert stage: "desert.background.tga", "desert.foreground.tga", the
// status panel and the health bar, sized for the 800 x 600 screen.
#pragma once

#include <string>

#include "contentgen/brush.h"
#include "contentgen/prng.h"
#include "contentgen/raster.h"

namespace contentgen {

class TextWriter;

// Stage geometry shared with desert.level: the ground line (play-area
// height with the background at the screen's top-left) and the bar boxes.
struct StageLayout {
    static constexpr int kGroundY = 540;
    static constexpr int kBarWidth = 301;  // the last column is never shown
    static constexpr int kBarHeight = 20;
    static constexpr int kBar1X = 24, kBar1Y = 46;
    static constexpr int kBar2X = 476, kBar2Y = 46;
};

// The two health bars' empty boxes on a panel, each ringed by four brush
// strokes: top and bottom `across` wide, the ends `down` wide.
void panelBarBoxes(Raster& pic, Colour empty, const Ink& ink, double across, double down, Prng& rng);

void makeDesert(const std::string& outDir, TextWriter& text);

}  // namespace contentgen
