#include "contentgen/sparks.h"

#include <cmath>

#include "contentgen/raster.h"
#include "contentgen/tga.h"

namespace contentgen {

namespace {

constexpr int kSide = 57;  // odd, so the hit point is a pixel's centre
constexpr double kMiddle = kSide / 2;
constexpr double kPi = 3.14159265358979323846;

Raster hitSpark()
{
    Raster r(kSide, kSide, kMagenta);
    const Colour edge = rgb5(31, 16, 0), ray = rgb5(31, 31, 0), core = rgb5(31, 31, 31);
    // Eight rays, the long ones along the axes, each drawn wide in orange
    // and again narrower in yellow so every ray has an orange rim.
    for (int i = 0; i < 8; ++i) {
        const double a = i * kPi / 4 + kPi / 16;
        const double length = i % 2 == 0 ? 27.0 : 18.0;
        const double x = kMiddle + std::cos(a) * length, y = kMiddle + std::sin(a) * length;
        fillTaperedSegment(kSide, kSide, kMiddle, kMiddle, 5.0, x, y, 1.0, r.painter(edge));
        fillTaperedSegment(kSide, kSide, kMiddle, kMiddle, 3.0, x, y, 0.4, r.painter(ray));
    }
    fillDisc(kSide, kSide, kMiddle, kMiddle, 8.0, r.painter(ray));
    fillDisc(kSide, kSide, kMiddle, kMiddle, 5.0, r.painter(core));
    return r;
}

Raster blockSpark()
{
    Raster r(kSide, kSide, kMagenta);
    const Colour ring = rgb5(11, 23, 31), cross = rgb5(31, 31, 31);
    fillDisc(kSide, kSide, kMiddle, kMiddle, 24.0, r.painter(ring));
    fillDisc(kSide, kSide, kMiddle, kMiddle, 20.0, [&r](int x, int y) { r.set(x, y, kMagenta); });
    constexpr int m = kSide / 2;
    fillRect(kSide, kSide, m - 1, m - 12, m + 1, m + 12, r.painter(cross));
    fillRect(kSide, kSide, m - 12, m - 1, m + 12, m + 1, r.painter(cross));
    return r;
}

}  // namespace

void makeSparks(const std::string& outDir)
{
    writeTga(outDir + "/spark.tga", hitSpark());
    writeTga(outDir + "/block-spark.tga", blockSpark());
}

}  // namespace contentgen
