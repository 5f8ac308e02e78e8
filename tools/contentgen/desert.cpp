#include "contentgen/desert.h"

#include <cmath>

#include "contentgen/brush.h"
#include "contentgen/palette.h"
#include "contentgen/prng.h"
#include "contentgen/text.h"
#include "contentgen/tga.h"

namespace contentgen {

namespace {

using namespace palette;

// The layer pictures are one pixel wider and taller than the screen: the
// game shows them up to width - 1 and height - 1, so 801 x 601 fills the
// 800 x 600 screen with layerX = layerY = 0.
constexpr int kW = 801, kH = 601;

double ridge(double x, double base, double a1, double f1, double p1, double a2, double f2, double p2)
{
    return base + a1 * std::sin(x * f1 + p1) + a2 * std::sin(x * f2 + p2);
}

void cactus(Raster& pic, double x, double baseY, double height, bool armLeftHigh, Prng& rng)
{
    const Ink ink{kCactus, kCactusStreak};
    const double r = height * 0.075;
    brushStroke(pic, x, baseY, r * 1.1, x, baseY - height, r * 0.9, ink, 0.5, rng);
    for (int side : {-1, 1}) {
        const bool high = (side < 0) == armLeftHigh;
        const double startY = baseY - height * (high ? 0.62 : 0.45);
        const double reach = height * 0.28, up = height * (high ? 0.28 : 0.22);
        const double elbowX = x + side * reach;
        brushStroke(pic, x, startY, r * 0.8, elbowX, startY + r * 0.4, r * 0.75, ink, 0.2, rng);
        brushStroke(pic, elbowX, startY + r * 0.4, r * 0.75, elbowX, startY - up, r * 0.6, ink, 0.5, rng);
    }
    // Spines: short paper ticks down the trunk.
    for (int i = 0; i < 6; ++i) {
        double ty = baseY - height * (0.15 + 0.12 * i);
        pic.set(static_cast<int>(x - r * 0.3), static_cast<int>(ty), kPaperShade);
        pic.set(static_cast<int>(x + r * 0.3), static_cast<int>(ty + 6), kPaperShade);
    }
}

void rock(Raster& pic, double cx, double baseY, double w, double h, Prng& rng)
{
    std::vector<double> outline;
    const int n = 9;
    for (int i = 0; i <= n; ++i) {
        double a = 3.14159265358979 * i / n;
        double rr = 1.0 + rng.between(-0.12, 0.12);
        outline.push_back(cx - std::cos(a) * w * 0.5 * rr);
        outline.push_back(baseY - std::sin(a) * h * rr);
    }
    fillPolygon(pic.width(), pic.height(), outline, pic.painter(kWash));
    // A lit face and an ink contour along the top.
    std::vector<double> lit;
    for (std::size_t i = 0; i + 1 < outline.size() / 2 + 1; i += 2) {
        lit.push_back(outline[i]);
        lit.push_back(outline[i + 1]);
    }
    lit.push_back(cx - w * 0.1);
    lit.push_back(baseY);
    fillPolygon(pic.width(), pic.height(), lit, pic.painter(kWashLight));
    brushPath(pic, outline, std::max(1.5, h * 0.08), Ink{kInk, kInkStreak}, rng, 0.15);
    brushStroke(pic, cx - w * 0.55, baseY, 1.2, cx + w * 0.55, baseY, 1.2, Ink{kInk, kInk}, 0, rng);
}

void tuft(Raster& pic, double x, double baseY, double height, Prng& rng, const Ink& ink)
{
    for (int i = 0; i < 7; ++i) {
        double a = rng.between(-0.9, 0.9);
        double len = height * rng.between(0.55, 1.0);
        brushStroke(pic, x + a * 3, baseY, 2.4, x + std::sin(a) * len, baseY - std::cos(a) * len, 0.6, ink, 0.4,
                    rng);
    }
}

Raster background()
{
    Raster pic(kW, kH, kSkyLow);
    Prng rng(seedFrom("desert.background"));
    // Sky: bands of paper, darker toward the top, with ragged edges.
    const Colour bands[] = {kSkyHigh, rgb5(27, 26, 22), rgb5(28, 27, 22), rgb5(29, 27, 22), rgb5(30, 28, 22), kSkyLow};
    raggedBands(pic, bands, 330, 55.0, {6, 0.05, 0.3, 4, 0.013});
    // The sun, a vermilion seal with paper bars across it.
    fillDisc(kW, kH, 610, 190, 62, pic.painter(kVermilion));
    for (int i = 0; i < 3; ++i)
        fillRect(kW, kH, 540, 214 + i * 14, 680, 216 + i * 14, pic.painter(kSkyLow));
    // Birds.
    for (int i = 0; i < 4; ++i) {
        double bx = 180 + i * 38 + rng.between(-10, 10), by = 150 + rng.between(-20, 20);
        brushPath(pic, {bx - 8, by - 3, bx - 3, by, bx, by + 1}, 1.3, Ink{kInk, kInk}, rng);
        brushPath(pic, {bx, by + 1, bx + 4, by - 1, bx + 9, by - 4}, 1.3, Ink{kInk, kInk}, rng);
    }
    // Far mesas in a pale wash, then nearer ones.
    auto mesaLayer = [&](double base, double top, Colour c, int count, double shift) {
        std::vector<double> poly{0, base};
        for (int i = 0; i < count; ++i) {
            double x0 = shift + i * kW / count + rng.between(0, 40), w = rng.between(60, 120);
            double t = top + rng.between(-15, 20);
            poly.insert(poly.end(), {x0, base, x0 + 18, t, x0 + w, t + 3, x0 + w + 22, base});
        }
        poly.insert(poly.end(), {static_cast<double>(kW), base, static_cast<double>(kW), static_cast<double>(base + 40),
                                 0.0, base + 40});
        fillPolygon(kW, kH, poly, pic.painter(c));
    };
    mesaLayer(335, 270, kMesaFar, 4, 20);
    mesaLayer(350, 300, kMesa, 3, 120);
    // Dunes, back to front, each with an ink ridge line.
    struct Dune {
        double base, a1, f1, p1, a2, f2, p2;
        Colour fill;
        double line;
    };
    const Dune dunes[] = {{360, 14, 0.009, 0.5, 6, 0.023, 1.0, rgb5(29, 25, 17), 1.6},
                          {405, 18, 0.007, 2.0, 7, 0.019, 0.3, kSand, 2.2},
                          {455, 14, 0.011, 4.0, 5, 0.027, 2.2, kSandDark, 2.8}};
    for (const Dune& d : dunes) {
        for (int x = 0; x < kW; ++x) {
            int top = static_cast<int>(ridge(x, d.base, d.a1, d.f1, d.p1, d.a2, d.f2, d.p2));
            for (int y = std::max(0, top); y < kH; ++y) pic.set(x, y, d.fill);
        }
        std::vector<double> line;
        for (int x = -10; x <= kW + 10; x += 12) {
            line.push_back(x);
            line.push_back(ridge(x, d.base, d.a1, d.f1, d.p1, d.a2, d.f2, d.p2));
        }
        brushPath(pic, line, d.line, Ink{kInk, kInkStreak}, rng, 0.2);
    }
    // The fighting ground: a flat pan of sand with a wash shadow line.
    for (int y = 500; y < kH; ++y)
        for (int x = 0; x < kW; ++x) pic.set(x, y, y < 532 ? kSand : (y < 548 ? kSandDark : kSandDeep));
    brushPath(pic, {-5, 501, 200, 499, 420, 502, 600, 500, 806, 501}, 2.0, Ink{kWash, kWashLight}, rng, 0.3);
    for (int i = 0; i < 60; ++i) {
        double px = rng.between(0, kW), py = rng.between(506, 596);
        double len = rng.between(4, 16);
        brushStroke(pic, px, py, 1.0, px + len, py + rng.between(-1, 1), 0.5, Ink{kWash, kWashLight}, 0.3, rng);
    }
    // Cacti and rocks in the middle distance, kept away from the fighters' heads.
    cactus(pic, 70, 470, 150, true, rng);
    cactus(pic, 735, 465, 120, false, rng);
    cactus(pic, 470, 420, 60, true, rng);
    rock(pic, 170, 490, 70, 26, rng);
    rock(pic, 640, 486, 48, 20, rng);
    rock(pic, 330, 445, 30, 11, rng);
    return pic;
}

Raster foreground()
{
    Raster pic(kW, kH, kMagenta);
    Prng rng(seedFrom("desert.foreground"));
    const Ink dark{kInk, kInkStreak};
    // Stones and grass below the ground line, where no fighter is drawn.
    for (int i = 0; i < 11; ++i) {
        double x = 30 + i * 72 + rng.between(-15, 15);
        rock(pic, x, 601, rng.between(40, 80), rng.between(14, 30), rng);
        tuft(pic, x + rng.between(30, 45), 600, rng.between(18, 34), rng, dark);
    }
    // Taller plants at both edges overlap a fighter pressed against a wall.
    tuft(pic, 12, 600, 120, rng, dark);
    tuft(pic, 30, 600, 80, rng, Ink{kCactus, kCactusStreak});
    tuft(pic, 786, 600, 110, rng, dark);
    tuft(pic, 768, 600, 70, rng, Ink{kCactus, kCactusStreak});
    return pic;
}

Raster healthBar()
{
    Raster pic(StageLayout::kBarWidth, StageLayout::kBarHeight, kVermilion);
    Prng rng(seedFrom("desert.healthbar"));
    for (int i = 0; i < 14; ++i) {
        double y = rng.between(2, StageLayout::kBarHeight - 2);
        double x0 = rng.between(-20, 250);
        brushStroke(pic, x0, y, 0.9, x0 + rng.between(30, 90), y + rng.between(-1, 1), 0.5,
                    Ink{kVermilionDark, kVermilionDark}, 0, rng);
    }
    for (int x = 0; x < StageLayout::kBarWidth; ++x) {
        pic.set(x, 0, kVermilionDark);
        pic.set(x, StageLayout::kBarHeight - 1, kVermilionDark);
    }
    return pic;
}

Raster panel(TextWriter& text)
{
    // 801 x 81: the game shows 800 x 80 of it.
    Raster pic(801, 81, kPaper);
    Prng rng(seedFrom("desert.panel"));
    brushPath(pic, {-4, 76, 200, 75, 400, 77, 600, 75, 805, 76}, 3.0, Ink{kInk, kInkStreak}, rng);
    panelBarBoxes(pic, kBarEmpty, Ink{kInk, kInkStreak}, 2.2, 2.0, rng);
    text.write(pic, "ROOK", 30, StageLayout::kBar1X, 4, kInk);
    text.write(pic, "QUILL", 30, StageLayout::kBar2X + StageLayout::kBarWidth - 1, 4, kBlueInk, TextWriter::Align::Right);
    // A seal between the bars.
    blot(pic, 400, 42, 22, kVermilion, rng);
    text.write(pic, "VS", 22, 400, 29, kPaperLight, TextWriter::Align::Centre);
    return pic;
}

}  // namespace

void panelBarBoxes(Raster& pic, Colour empty, const Ink& ink, double across, double down, Prng& rng)
{
    const int w = StageLayout::kBarWidth - 1, h = StageLayout::kBarHeight;
    for (int x : {StageLayout::kBar1X, StageLayout::kBar2X}) {
        const int y = StageLayout::kBar1Y;
        fillRect(pic.width(), pic.height(), x, y, x + w - 1, y + h - 1, pic.painter(empty));
        const double l = x - 4, t = y - 4, r = x + w + 3, b = y + h + 3;
        brushPath(pic, {l, t, r, t}, across, ink, rng);
        brushPath(pic, {l, b, r, b}, across, ink, rng);
        brushPath(pic, {l, t - 2, l, b + 2}, down, ink, rng);
        brushPath(pic, {r, t - 2, r, b + 2}, down, ink, rng);
    }
}

void makeDesert(const std::string& outDir, TextWriter& text)
{
    writeTga(outDir + "/desert.background.tga", background());
    writeTga(outDir + "/desert.foreground.tga", foreground());
    writeTga(outDir + "/desert.panel.tga", panel(text));
    writeTga(outDir + "/desert.healthbar.tga", healthBar());
}

}  // namespace contentgen
