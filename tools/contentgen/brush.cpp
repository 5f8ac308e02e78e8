#include "contentgen/brush.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace contentgen {

namespace {
constexpr double kPi = 3.14159265358979323846;
}

void brushStroke(Raster& pic, double x0, double y0, double r0, double x1, double y1, double r1,
                 const Ink& ink, double dryness, Prng& rng, const Plot* shape)
{
    // The brush is a bundle of bristles across the stroke; some of them run
    // dry before the end and leave a lighter streak from there on.
    constexpr int kBristles = 9;
    std::array<double, kBristles> dryFrom{};
    for (double& d : dryFrom)
        d = rng.unit() < 0.5 ? 1.0 - dryness * rng.between(0.25, 1.0) : 2.0;
    // The edge wobbles a little along the stroke.
    const double wobblePhase = rng.between(0.0, 2 * kPi), wobbleFreq = rng.between(1.5, 3.0);
    const double rMax = std::max(r0, r1) * 1.2;
    const double vx = x1 - x0, vy = y1 - y0;
    const double len2 = vx * vx + vy * vy, len = std::sqrt(len2);
    const int bx0 = std::max(0, static_cast<int>(std::floor(std::min(x0, x1) - rMax)));
    const int by0 = std::max(0, static_cast<int>(std::floor(std::min(y0, y1) - rMax)));
    const int bx1 = std::min(pic.width() - 1, static_cast<int>(std::ceil(std::max(x0, x1) + rMax)));
    const int by1 = std::min(pic.height() - 1, static_cast<int>(std::ceil(std::max(y0, y1) + rMax)));
    for (int y = by0; y <= by1; ++y)
        for (int x = bx0; x <= bx1; ++x) {
            const double px = x + 0.5 - x0, py = y + 0.5 - y0;
            const double tRaw = len2 > 0 ? (px * vx + py * vy) / len2 : 0.0;
            const double t = std::clamp(tRaw, 0.0, 1.0);
            const double ex = px - t * vx, ey = py - t * vy;
            const double r = (r0 + (r1 - r0) * t) *
                             (1.0 + 0.12 * std::sin(kPi * t) + 0.06 * std::sin(2 * kPi * wobbleFreq * t + wobblePhase));
            if (ex * ex + ey * ey > r * r) continue;
            if (shape) (*shape)(x, y);
            // Signed distance across the stroke, -1 .. 1, picks the bristle.
            const double across = len > 0 ? (px * vy - py * vx) / len / std::max(r, 0.5) : 0.0;
            const int b = std::clamp(static_cast<int>((across + 1.0) * 0.5 * kBristles), 0, kBristles - 1);
            if (tRaw >= 1.0 && dryFrom[b] < 1.0) continue;  // a dry bristle leaves the cap ragged
            pic.set(x, y, tRaw > dryFrom[b] ? ink.streak : ink.solid);
        }
}

void blot(Raster& pic, double cx, double cy, double r, Colour colour, Prng& rng, const Plot* shape)
{
    std::array<double, 3> amp{}, phase{};
    for (int k = 0; k < 3; ++k) {
        amp[k] = rng.between(0.02, 0.09);
        phase[k] = rng.between(0.0, 2 * kPi);
    }
    const double rMax = r * 1.3;
    fillDisc(pic.width(), pic.height(), cx, cy, rMax, [&](int x, int y) {
        double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
        double a = std::atan2(dy, dx);
        double edge = r * (1.0 + amp[0] * std::sin(3 * a + phase[0]) + amp[1] * std::sin(5 * a + phase[1]) +
                           amp[2] * std::sin(8 * a + phase[2]));
        if (dx * dx + dy * dy <= edge * edge) {
            pic.set(x, y, colour);
            if (shape) (*shape)(x, y);
        }
    });
}

void splatter(Raster& pic, double x, double y, double dirX, double dirY, int count, double reach,
              double maxRadius, Colour colour, Prng& rng)
{
    double base = std::atan2(dirY, dirX);
    for (int i = 0; i < count; ++i) {
        double a = base + rng.between(-0.7, 0.7);
        double d = reach * std::sqrt(rng.between(0.15, 1.0));
        double rad = std::max(0.8, maxRadius * rng.between(0.3, 1.0) * (1.1 - d / reach * 0.6));
        blot(pic, x + std::cos(a) * d, y + std::sin(a) * d, rad, colour, rng);
    }
}

void brushPath(Raster& pic, const std::vector<double>& xy, double maxRadius, const Ink& ink, Prng& rng,
               double gapChance)
{
    const std::size_t n = xy.size() / 2;
    if (n < 2) return;
    double total = 0;
    for (std::size_t i = 1; i < n; ++i) total += std::hypot(xy[2 * i] - xy[2 * i - 2], xy[2 * i + 1] - xy[2 * i - 1]);
    double at = 0;
    auto radiusAt = [&](double d) { return std::max(0.6, maxRadius * std::sin(kPi * std::clamp(d / total, 0.03, 0.97))); };
    for (std::size_t i = 1; i < n; ++i) {
        const double x0 = xy[2 * i - 2], y0 = xy[2 * i - 1], x1 = xy[2 * i], y1 = xy[2 * i + 1];
        const double len = std::hypot(x1 - x0, y1 - y0);
        if (rng.unit() >= gapChance)
            brushStroke(pic, x0, y0, radiusAt(at), x1, y1, radiusAt(at + len), ink, 0.3, rng);
        at += len;
    }
}

}  // namespace contentgen
