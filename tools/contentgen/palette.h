// The paper-and-ink colours of the stage and the screens (5 bits a channel).
#pragma once

#include "contentgen/raster.h"

namespace contentgen::palette {

constexpr Colour kPaper = rgb5(30, 28, 23);
constexpr Colour kPaperLight = rgb5(31, 30, 26);
constexpr Colour kPaperShade = rgb5(27, 25, 20);
constexpr Colour kSkyHigh = rgb5(26, 25, 22);
constexpr Colour kSkyLow = rgb5(31, 28, 21);
constexpr Colour kSand = rgb5(29, 24, 15);
constexpr Colour kSandDark = rgb5(26, 20, 12);
constexpr Colour kSandDeep = rgb5(23, 17, 10);
constexpr Colour kMesa = rgb5(22, 18, 15);
constexpr Colour kMesaFar = rgb5(25, 22, 19);
constexpr Colour kInk = rgb5(2, 2, 3);
constexpr Colour kInkStreak = rgb5(9, 9, 10);
constexpr Colour kWash = rgb5(14, 13, 12);
constexpr Colour kWashLight = rgb5(19, 18, 16);
constexpr Colour kVermilion = rgb5(27, 5, 3);
constexpr Colour kVermilionDark = rgb5(20, 3, 2);
constexpr Colour kCactus = rgb5(6, 10, 7);
constexpr Colour kCactusStreak = rgb5(11, 15, 10);
constexpr Colour kBlueInk = rgb5(2, 4, 16);
constexpr Colour kBarEmpty = rgb5(19, 16, 12);

}  // namespace contentgen::palette
