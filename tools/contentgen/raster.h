// A picture being drawn: 16-bit colours as the TGA file stores them
// (5 bits each of red, green and blue), with solid shapes only. Nothing is
// ever blended, so an edge is either the shape's colour or what lay below.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace contentgen {

using Colour = std::uint16_t;

constexpr Colour rgb5(int r, int g, int b)
{
    return static_cast<Colour>(((r & 31) << 10) | ((g & 31) << 5) | (b & 31));
}
// Transparent in fighter pictures, the foreground and the quote picture.
constexpr Colour kMagenta = rgb5(31, 0, 31);

// Called for every pixel a shape covers (already clipped to the picture).
using Plot = std::function<void(int x, int y)>;

class Raster {
public:
    Raster(int width, int height, Colour fill);

    int width() const { return width_; }
    int height() const { return height_; }
    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
    Colour at(int x, int y) const { return pixels_[index(x, y)]; }
    void set(int x, int y, Colour c)
    {
        if (inside(x, y)) pixels_[index(x, y)] = c;
    }
    const std::vector<Colour>& pixels() const { return pixels_; }
    // A plot that paints one colour.
    Plot painter(Colour c);

private:
    std::size_t index(int x, int y) const { return static_cast<std::size_t>(y) * width_ + x; }
    int width_;
    int height_;
    std::vector<Colour> pixels_;
};

// Shapes, in picture coordinates (x to the right, y down). Each calls plot
// once for every covered pixel inside [0, width) x [0, height).
void fillDisc(int width, int height, double cx, double cy, double r, const Plot& plot);
void fillEllipse(int width, int height, double cx, double cy, double rx, double ry,
                 const Plot& plot);
// A capsule whose radius goes from r0 at (x0, y0) to r1 at (x1, y1).
void fillTaperedSegment(int width, int height, double x0, double y0, double r0, double x1,
                        double y1, double r1, const Plot& plot);
// A closed polygon, filled by the even-odd rule at pixel centres.
void fillPolygon(int width, int height, const std::vector<double>& xy, const Plot& plot);
void fillRect(int width, int height, int left, int top, int right, int bottom,
              const Plot& plot);

// Copies every non-magenta pixel of src onto dst with src's top-left at
// (x, y); mirrored flips src left to right.
void stamp(Raster& dst, const Raster& src, int x, int y, bool mirrored = false);

// A sky: rows 0 to rows-1 in six bands of colour, a band every bandHeight
// rows, their edges ragged by two waves (a1 high along x*f1x + y*f1y, a2
// along x*f2x + y).
struct BandWaves {
    double a1, f1x, f1y, a2, f2x;
};
void raggedBands(Raster& pic, const Colour (&bands)[6], int rows, double bandHeight, const BandWaves& w);

}  // namespace contentgen
