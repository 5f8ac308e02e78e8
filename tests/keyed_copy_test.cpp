// Copies, keyed or not, mirrored or not (keyed ones go run by run over the
// picture's opaque columns): checked against a pixel-by-pixel copy on random
// pictures, and after every way a surface's pixels or key can change.
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <vector>

#include "platform/surface.h"

namespace ib {
namespace {

std::shared_ptr<Surface> make(DisplayDevice& device, int w, int h)
{
    std::shared_ptr<Surface> s;
    device.createSurface(w, h, s);
    return s;
}

// What dst must hold after copying srcRect of src to (x, y), pixel by pixel.
std::vector<std::uint16_t> expected(const Surface& dst, const Surface& src, const Rect& r, int x,
                                    int y, bool keyed, bool mirrored)
{
    std::vector<std::uint16_t> out(dst.data(), dst.data() + dst.width() * dst.height());
    for (int row = r.top; row < r.bottom; ++row)
        for (int i = 0; i < r.right - r.left; ++i) {
            const std::uint16_t v = src.pixel(mirrored ? r.right - 1 - i : r.left + i, row);
            if (!(keyed && v == src.colorKey())) out[(y + row - r.top) * dst.width() + x + i] = v;
        }
    return out;
}

bool holds(const Surface& s, const std::vector<std::uint16_t>& want)
{
    return std::equal(want.begin(), want.end(), s.data());
}

TEST(KeyedCopy, SameAsPixelByPixelOnRandomPictures)
{
    auto device = std::make_shared<DisplayDevice>();
    std::mt19937 rng(1234);
    auto upTo = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    for (int round = 0; round < 400; ++round) {
        const int w = 1 + upTo(90), h = 1 + upTo(12);
        auto src = make(*device, w, h);
        auto dst = make(*device, w + upTo(30), h + upTo(5));
        const auto key = static_cast<std::uint16_t>(upTo(3) == 0 ? 0 : rng());
        // Rows of keyed and opaque stretches of every length, whole keyed
        // and whole opaque rows among them; a few stray pixels of the key.
        std::uint16_t* p = src->data();
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w;) {
                const bool opaque = upTo(2) == 0;
                for (int n = 1 + upTo(upTo(4) == 0 ? w : 12); n > 0 && x < w; --n, ++x)
                    p[y * w + x] = opaque && upTo(20) ? static_cast<std::uint16_t>(rng()) : key;
            }
        for (int i = 0; i < dst->width() * dst->height(); ++i)
            dst->data()[i] = static_cast<std::uint16_t>(rng());
        src->setColorKey(key);
        const int left = upTo(w), top = upTo(h);
        const Rect r{left, top, left + 1 + upTo(w - left), top + 1 + upTo(h - top)};
        const int x = upTo(dst->width() - (r.right - r.left) + 1);
        const int y = upTo(dst->height() - (r.bottom - r.top) + 1);
        const Rect to{x, y, x + r.right - r.left, y + r.bottom - r.top};
        const bool mirrored = upTo(2) == 0, viaBlt = mirrored || upTo(2) == 0, keyed = upTo(4) != 0;
        const BltFx fx{DDBLTFX_MIRRORLEFTRIGHT};
        // Twice: the second copy reads the runs the first one made.
        for (int again = 0; again < 2; ++again) {
            const auto want = expected(*dst, *src, r, x, y, keyed, mirrored);
            const HRESULT res =
                viaBlt ? dst->blt(to, *src, r, (keyed ? DDBLT_KEYSRC : 0) | (mirrored ? DDBLT_DDFX : 0), &fx)
                       : dst->bltFast(x, y, *src, r, keyed ? DDBLTFAST_SRCCOLORKEY : DDBLTFAST_NOCOLORKEY);
            ASSERT_EQ(res, DD_OK);
            ASSERT_TRUE(holds(*dst, want)) << "round " << round << " (seeded: repeatable)";
            for (int i = 0; i < dst->width() * dst->height(); i += 3) dst->data()[i] ^= 0x5555;
        }
    }
}

// After each change the next keyed copy shows the pixels as they are now.
TEST(KeyedCopy, FollowsEveryChangeOfThePixelsOrTheKey)
{
    auto device = std::make_shared<DisplayDevice>();
    auto src = make(*device, 8, 2), dst = make(*device, 8, 2), other = make(*device, 8, 2);
    constexpr std::uint16_t kKey = 0xF81F;
    const Rect whole{0, 0, 8, 2};
    std::fill(src->data(), src->data() + 16, kKey);
    src->setColorKey(kKey);
    auto check = [&](const char* what) {
        std::fill(dst->data(), dst->data() + 16, std::uint16_t{7});
        const auto want = expected(*dst, *src, whole, 0, 0, true, false);
        ASSERT_EQ(dst->bltFast(0, 0, *src, whole, DDBLTFAST_SRCCOLORKEY), DD_OK);
        EXPECT_TRUE(holds(*dst, want)) << what;
    };
    check("all keyed");
    std::uint16_t* pixels = nullptr;
    std::int32_t pitch = 0;
    ASSERT_EQ(src->lock(pixels, pitch), DD_OK);
    pixels[3] = 0x1111;
    src->unlock();
    check("written under a lock");
    src->data()[9] = 0x2222;
    check("written through data()");
    src->setColorKey(0x1111);
    check("another key");
    std::fill(other->data(), other->data() + 16, std::uint16_t{0x3333});
    src->bltFast(0, 0, *other, {0, 0, 4, 1}, DDBLTFAST_NOCOLORKEY);
    check("copied into");
    other->setColorKey(0x1111);
    src->blt({4, 1, 8, 2}, *other, {0, 0, 4, 1}, DDBLT_KEYSRC, nullptr);
    check("copied into keyed");
    device->loseSurfaces();
    src->restore();
    dst->restore();
    check("restored black");
    auto back = make(*device, 8, 2);
    std::fill(back->data(), back->data() + 16, std::uint16_t{0x4444});
    src->attachBackBuffer(back);
    ASSERT_EQ(src->flip(), DD_OK);
    check("flipped");
}

}  // namespace
}  // namespace ib
