#include "contentgen/raster.h"

#include <algorithm>
#include <cmath>

namespace contentgen {

Raster::Raster(int width, int height, Colour fill)
    : width_(width), height_(height),
      pixels_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill)
{
}

Plot Raster::painter(Colour c)
{
    return [this, c](int x, int y) { pixels_[index(x, y)] = c; };
}

namespace {

struct Box {
    int x0, y0, x1, y1;  // inclusive
};

Box clipBox(int width, int height, double minX, double minY, double maxX, double maxY)
{
    return Box{std::max(0, static_cast<int>(std::floor(minX))),
               std::max(0, static_cast<int>(std::floor(minY))),
               std::min(width - 1, static_cast<int>(std::ceil(maxX))),
               std::min(height - 1, static_cast<int>(std::ceil(maxY)))};
}

}  // namespace

void fillDisc(int width, int height, double cx, double cy, double r, const Plot& plot)
{
    fillEllipse(width, height, cx, cy, r, r, plot);
}

void fillEllipse(int width, int height, double cx, double cy, double rx, double ry,
                 const Plot& plot)
{
    if (rx <= 0 || ry <= 0) return;
    Box b = clipBox(width, height, cx - rx, cy - ry, cx + rx, cy + ry);
    for (int y = b.y0; y <= b.y1; ++y)
        for (int x = b.x0; x <= b.x1; ++x) {
            double dx = (x + 0.5 - cx) / rx, dy = (y + 0.5 - cy) / ry;
            if (dx * dx + dy * dy <= 1.0) plot(x, y);
        }
}

void fillTaperedSegment(int width, int height, double x0, double y0, double r0, double x1,
                        double y1, double r1, const Plot& plot)
{
    double rMax = std::max(r0, r1);
    Box b = clipBox(width, height, std::min(x0, x1) - rMax, std::min(y0, y1) - rMax,
                    std::max(x0, x1) + rMax, std::max(y0, y1) + rMax);
    double vx = x1 - x0, vy = y1 - y0;
    double len2 = vx * vx + vy * vy;
    for (int y = b.y0; y <= b.y1; ++y)
        for (int x = b.x0; x <= b.x1; ++x) {
            double px = x + 0.5 - x0, py = y + 0.5 - y0;
            double t = len2 > 0 ? std::clamp((px * vx + py * vy) / len2, 0.0, 1.0) : 0.0;
            double ex = px - t * vx, ey = py - t * vy;
            double r = r0 + (r1 - r0) * t;
            if (ex * ex + ey * ey <= r * r) plot(x, y);
        }
}

void fillPolygon(int width, int height, const std::vector<double>& xy, const Plot& plot)
{
    std::size_t n = xy.size() / 2;
    if (n < 3) return;
    double minY = xy[1], maxY = xy[1];
    for (std::size_t i = 0; i < n; ++i) {
        minY = std::min(minY, xy[2 * i + 1]);
        maxY = std::max(maxY, xy[2 * i + 1]);
    }
    int yStart = std::max(0, static_cast<int>(std::floor(minY)));
    int yEnd = std::min(height - 1, static_cast<int>(std::ceil(maxY)));
    std::vector<double> crossings;
    for (int y = yStart; y <= yEnd; ++y) {
        double sy = y + 0.5;
        crossings.clear();
        for (std::size_t i = 0; i < n; ++i) {
            double ax = xy[2 * i], ay = xy[2 * i + 1];
            double bx = xy[2 * ((i + 1) % n)], by = xy[2 * ((i + 1) % n) + 1];
            if ((ay <= sy) != (by <= sy)) crossings.push_back(ax + (sy - ay) / (by - ay) * (bx - ax));
        }
        std::sort(crossings.begin(), crossings.end());
        for (std::size_t k = 0; k + 1 < crossings.size(); k += 2) {
            int xa = std::max(0, static_cast<int>(std::ceil(crossings[k] - 0.5)));
            int xb = std::min(width - 1, static_cast<int>(std::floor(crossings[k + 1] - 0.5)));
            for (int x = xa; x <= xb; ++x) plot(x, y);
        }
    }
}

void fillRect(int width, int height, int left, int top, int right, int bottom,
              const Plot& plot)
{
    for (int y = std::max(0, top); y <= std::min(height - 1, bottom); ++y)
        for (int x = std::max(0, left); x <= std::min(width - 1, right); ++x) plot(x, y);
}

void stamp(Raster& dst, const Raster& src, int x, int y, bool mirrored)
{
    for (int row = 0; row < src.height(); ++row)
        for (int col = 0; col < src.width(); ++col) {
            Colour c = src.at(mirrored ? src.width() - 1 - col : col, row);
            if (c != kMagenta) dst.set(x + col, y + row, c);
        }
}

void raggedBands(Raster& pic, const Colour (&bands)[6], int rows, double bandHeight, const BandWaves& w)
{
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < pic.width(); ++x) {
            const double jitter = w.a1 * std::sin(x * w.f1x + y * w.f1y) + w.a2 * std::sin(x * w.f2x + y);
            pic.set(x, y, bands[std::clamp(static_cast<int>((y + jitter) / bandHeight), 0, 5)]);
        }
}

}  // namespace contentgen
