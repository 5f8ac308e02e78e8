#include "contentgen/harbour.h"

#include <algorithm>
#include <cmath>

#include "contentgen/brush.h"
#include "contentgen/desert.h"
#include "contentgen/palette.h"
#include "contentgen/prng.h"
#include "contentgen/tga.h"

namespace contentgen {

namespace {

using namespace palette;

constexpr int kW = 801, kH = 601;

constexpr Colour kNightHigh = rgb5(3, 4, 9);
constexpr Colour kNightLow = rgb5(8, 10, 17);
constexpr Colour kMoon = rgb5(30, 29, 24);
constexpr Colour kHill = rgb5(4, 5, 9);
constexpr Colour kWater = rgb5(5, 7, 13);
constexpr Colour kWaterLight = rgb5(10, 13, 20);
constexpr Colour kPlank = rgb5(13, 10, 8);
constexpr Colour kPlankDark = rgb5(9, 7, 6);
constexpr Colour kPlankLit = rgb5(17, 13, 9);
constexpr Colour kLantern = rgb5(31, 22, 6);
constexpr Colour kLanternDark = rgb5(22, 13, 3);
constexpr Colour kRope = rgb5(20, 17, 11);
constexpr Colour kPanelNight = rgb5(7, 8, 13);
constexpr Colour kBarEmptyNight = rgb5(3, 3, 6);

// A mooring post standing on baseY.
void post(Raster& pic, double x, double baseY, double height, Prng& rng)
{
    brushStroke(pic, x, baseY, 9, x, baseY - height, 8, Ink{kPlankDark, kPlank}, 0.4, rng);
    fillEllipse(pic.width(), pic.height(), x, baseY - height, 8, 3, pic.painter(kPlankLit));
    brushStroke(pic, x - 9, baseY - height * 0.55, 1.6, x + 9, baseY - height * 0.5, 1.6, Ink{kRope, kRope}, 0,
                rng);
}

// A moored boat's dark hull and mast on the water line.
void boat(Raster& pic, double x, double waterY, double length, Prng& rng)
{
    const std::vector<double> hull{x - length / 2, waterY - length * 0.12, x + length / 2, waterY - length * 0.16,
                                   x + length * 0.38, waterY + 2, x - length * 0.4, waterY + 2};
    fillPolygon(pic.width(), pic.height(), hull, pic.painter(kHill));
    brushStroke(pic, x, waterY - length * 0.12, 1.6, x + 2, waterY - length * 0.9, 1.0, Ink{kHill, kHill}, 0, rng);
    brushStroke(pic, x + 2, waterY - length * 0.85, 0.8, x + length * 0.45, waterY - length * 0.15, 0.6,
                Ink{kHill, kHill}, 0, rng);
}

void lantern(Raster& pic, double x, double y, Prng& rng)
{
    brushStroke(pic, x, y - 30, 1.2, x, y - 12, 1.2, Ink{kInk, kInk}, 0, rng);
    fillEllipse(pic.width(), pic.height(), x, y, 9, 12, pic.painter(kLantern));
    for (int i = -1; i <= 1; ++i)
        brushStroke(pic, x - 8, y + i * 6, 0.7, x + 8, y + i * 6, 0.7, Ink{kLanternDark, kLanternDark}, 0, rng);
    fillRect(kW, kH, static_cast<int>(x) - 5, static_cast<int>(y) - 14, static_cast<int>(x) + 5,
             static_cast<int>(y) - 12, pic.painter(kInk));
}

Raster background()
{
    Raster pic(kW, kH, kNightLow);
    Prng rng(seedFrom("harbour.background"));
    // The night sky in ragged bands, darkest at the top.
    const Colour bands[] = {kNightHigh, rgb5(4, 5, 11), rgb5(5, 6, 12), rgb5(6, 8, 14), rgb5(7, 9, 15), kNightLow};
    raggedBands(pic, bands, 340, 58.0, {5, 0.04, 0.2, 3, 0.011});
    for (int i = 0; i < 90; ++i) {
        const int sx = rng.range(0, kW - 1), sy = rng.range(0, 300);
        pic.set(sx, sy, i % 7 == 0 ? kMoon : kWashLight);
    }
    // The moon, a paper disc with a thin cloud across it.
    fillDisc(kW, kH, 180, 150, 46, pic.painter(kMoon));
    brushPath(pic, {90, 168, 150, 164, 210, 170, 270, 165}, 4.0, Ink{kNightLow, kNightLow}, rng);
    // Far hills and the town's few lights.
    std::vector<double> hills{0, 360};
    for (int x = 0; x <= kW; x += 40) {
        hills.push_back(x);
        hills.push_back(318 + 18 * std::sin(x * 0.011 + 1.3) + 8 * std::sin(x * 0.037));
    }
    hills.insert(hills.end(), {static_cast<double>(kW), 360.0});
    fillPolygon(kW, kH, hills, pic.painter(kHill));
    for (int i = 0; i < 14; ++i) {
        const int lx = rng.range(380, 780), ly = rng.range(330, 352);
        fillRect(kW, kH, lx, ly, lx + 1, ly + 1, pic.painter(kLantern));
    }
    // Water with the moon's broken reflection.
    fillRect(kW, kH, 0, 356, kW - 1, kH - 1, pic.painter(kWater));
    for (int i = 0; i < 70; ++i) {
        const double wy = rng.between(362, 470), wx = rng.between(0, kW), len = rng.between(10, 40);
        brushStroke(pic, wx, wy, 0.8, wx + len, wy, 0.5, Ink{kWaterLight, kWaterLight}, 0.3, rng);
    }
    for (int i = 0; i < 12; ++i) {
        const double wy = 364 + i * 9, half = 30 - i * 2 + rng.between(-5, 5);
        brushStroke(pic, 180 - half, wy, 1.4, 180 + half, wy, 1.0, Ink{kMoon, kWashLight}, 0.4, rng);
    }
    boat(pic, 560, 420, 110, rng);
    boat(pic, 700, 400, 60, rng);
    // The pier: planks in rows from the water's edge to the screen's bottom.
    for (int y = 480; y < kH; ++y)
        for (int x = 0; x < kW; ++x) pic.set(x, y, (y - 480) % 20 < 2 ? kPlankDark : kPlank);
    for (int row = 0; row < 7; ++row) {
        const int top = 482 + row * 20;
        for (int x = rng.range(-40, 0); x < kW; x += rng.range(90, 160))
            fillRect(kW, kH, x, top, x + 2, top + 17, pic.painter(kPlankDark));
        for (int k = 0; k < 6; ++k) {
            const double gx = rng.between(0, kW), gy = top + rng.between(4, 14);
            brushStroke(pic, gx, gy, 0.6, gx + rng.between(15, 50), gy, 0.4, Ink{kPlankLit, kPlankLit}, 0.3, rng);
        }
    }
    brushPath(pic, {-5, 480, 300, 479, 520, 481, 806, 480}, 2.4, Ink{kInk, kInkStreak}, rng);
    post(pic, 120, 482, 60, rng);
    post(pic, 690, 482, 54, rng);
    lantern(pic, 400, 250, rng);
    brushPath(pic, {400, 220, 300, 200, 120, 232, 0, 215}, 1.2, Ink{kInk, kInk}, rng);
    brushPath(pic, {400, 220, 520, 205, 690, 228, 801, 210}, 1.2, Ink{kInk, kInk}, rng);
    return pic;
}

Raster foreground()
{
    Raster pic(kW, kH, kMagenta);
    Prng rng(seedFrom("harbour.foreground"));
    // Coiled rope and crates at the edges, below the ground line and beside the walls.
    for (double x : {40.0, 762.0}) {
        fillRect(kW, kH, static_cast<int>(x) - 40, 560, static_cast<int>(x) + 40, kH - 1, pic.painter(kPlankDark));
        brushPath(pic, {x - 40, 560, x + 40, 560}, 2.0, Ink{kInk, kInkStreak}, rng);
        brushPath(pic, {x - 40, 560, x + 40, 600}, 1.6, Ink{kPlankLit, kPlankLit}, rng);
    }
    for (int i = 0; i < 3; ++i)
        fillEllipse(kW, kH, 400 + i * 3, 588 - i * 5, 46 - i * 10, 10 - i * 2, [&](int px, int py) {
            pic.set(px, py, (px + py) % 5 == 0 ? kPlankDark : kRope);
        });
    post(pic, 8, 601, 120, rng);
    post(pic, 793, 601, 130, rng);
    return pic;
}

Raster healthBar()
{
    Raster pic(StageLayout::kBarWidth, StageLayout::kBarHeight, kLantern);
    Prng rng(seedFrom("harbour.healthbar"));
    for (int i = 0; i < 12; ++i) {
        const double y = rng.between(2, StageLayout::kBarHeight - 2), x0 = rng.between(-20, 250);
        brushStroke(pic, x0, y, 0.9, x0 + rng.between(30, 90), y, 0.5, Ink{kLanternDark, kLanternDark}, 0, rng);
    }
    for (int x = 0; x < StageLayout::kBarWidth; ++x) {
        pic.set(x, 0, kLanternDark);
        pic.set(x, StageLayout::kBarHeight - 1, kLanternDark);
    }
    return pic;
}

Raster panel()
{
    Raster pic(801, 81, kPanelNight);
    Prng rng(seedFrom("harbour.panel"));
    brushPath(pic, {-4, 76, 200, 77, 400, 75, 600, 77, 805, 76}, 3.0, Ink{kRope, kPlankLit}, rng);
    panelBarBoxes(pic, kBarEmptyNight, Ink{kRope, kPlankLit}, 2.0, 2.0, rng);
    // A lantern between the bars.
    lantern(pic, 400, 46, rng);
    return pic;
}

}  // namespace

void makeHarbour(const std::string& outDir)
{
    writeTga(outDir + "/harbour.background.tga", background());
    writeTga(outDir + "/harbour.foreground.tga", foreground());
    writeTga(outDir + "/harbour.panel.tga", panel());
    writeTga(outDir + "/harbour.healthbar.tga", healthBar());
}

}  // namespace contentgen
