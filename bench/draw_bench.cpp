// The blitter: our colour-keyed copy, plain and mirrored, next to SDL's own
// colour-keyed 16-bit blit of the same 250 x 250 picture onto an 800 x 600
// page.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <memory>

#include "platform/surface.h"
#include "support/fixtures.h"

namespace {

using namespace ib;
using namespace ib::test;

constexpr int kSide = 250;

// A fighter-like picture: a round body, magenta around it.
bool inBody(int x, int y)
{
    const int dx = x - kSide / 2, dy = y - kSide / 2;
    return dx * dx + dy * dy < (kSide / 2 - 10) * (kSide / 2 - 10);
}
std::uint16_t bodyColour(int x, int y) { return tgaRgb(x % 32, 20, y % 32); }

// The same picture for all three copies, onto an 800 x 600 page.
struct CopyPair {
    std::shared_ptr<DisplayDevice> device = std::make_shared<DisplayDevice>();
    std::shared_ptr<Surface> page, picture;
    std::uint16_t key = toRgb565(kMagenta);

    CopyPair()
    {
        device->createSurface(800, 600, page);
        device->createSurface(kSide, kSide, picture);
        for (int y = 0; y < kSide; ++y)
            for (int x = 0; x < kSide; ++x)
                picture->data()[y * kSide + x] =
                    inBody(x, y) ? static_cast<std::uint16_t>(bodyColour(x, y) << 1) : key;
        picture->setColorKey(key);
    }
};

constexpr Rect kPictureRect{0, 0, kSide, kSide};
constexpr Rect kPageRect{300, 200, 300 + kSide, 200 + kSide};

void BM_OurKeyedCopy(benchmark::State& state)
{
    CopyPair c;
    for (auto _ : state) {
        c.page->bltFast(kPageRect.left, kPageRect.top, *c.picture, kPictureRect, DDBLTFAST_SRCCOLORKEY);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kSide * kSide);
}
BENCHMARK(BM_OurKeyedCopy);

void BM_OurMirroredKeyedCopy(benchmark::State& state)
{
    CopyPair c;
    BltFx fx;
    fx.dwDDFX = DDBLTFX_MIRRORLEFTRIGHT;
    for (auto _ : state) {
        c.page->blt(kPageRect, *c.picture, kPictureRect, DDBLT_KEYSRC | DDBLT_DDFX, &fx);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kSide * kSide);
}
BENCHMARK(BM_OurMirroredKeyedCopy);

void BM_SdlKeyedCopy(benchmark::State& state)
{
    CopyPair c;
    SDL_Surface* page = SDL_CreateRGBSurfaceWithFormat(0, 800, 600, 16, SDL_PIXELFORMAT_RGB565);
    SDL_Surface* picture = SDL_CreateRGBSurfaceWithFormatFrom(
        c.picture->data(), kSide, kSide, 16, kSide * 2, SDL_PIXELFORMAT_RGB565);
    SDL_SetColorKey(picture, SDL_TRUE, c.key);
    SDL_Rect src{0, 0, kSide, kSide};
    for (auto _ : state) {
        SDL_Rect dst{kPageRect.left, kPageRect.top, kSide, kSide};
        SDL_BlitSurface(picture, &src, page, &dst);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kSide * kSide);
    SDL_FreeSurface(picture);
    SDL_FreeSurface(page);
}
BENCHMARK(BM_SdlKeyedCopy);

}  // namespace
