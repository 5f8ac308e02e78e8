// How long one fight frame takes to draw, and our colour-keyed copies next
// to SDL's own colour-keyed 16-bit blit of the same 250 x 250 picture.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <memory>

#include "app/display.h"
#include "app/game.h"
#include "graphics/render.h"
#include "platform/headless_platform.h"
#include "support/fight_builders.h"
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

// The fight as the game draws it: 800 x 600 layers, two 250 x 250 fighters.
struct BenchFight {
    ScratchDir dir;
    HeadlessPlatform platform;
    Game game{platform};
    std::unique_ptr<Character> rook, quill;

    BenchFight()
    {
        writeTga("desert.background.tga", 800, 600,
                 [](int x, int y) { return tgaRgb(x % 32, y % 32, 8); });
        writeTga("desert.foreground.tga", 800, 600, [](int x, int y) {
            return y >= 520 || (x / 40) % 5 == 0 ? tgaRgb(4, 12, 4) : kTgaMagenta;
        });
        writeSolidTga("panel.tga", 800, 40, tgaRgb(31, 31, 31));
        writeSolidTga("bar.tga", 201, 10, tgaRgb(31, 0, 0));
        writeFile("desert.level", "500\n0,799\npanel\nbar\n10,10\n500,10\n");
        writeTga("pose.tga", kSide, kSide,
                 [](int x, int y) { return inBody(x, y) ? bodyColour(x, y) : kTgaMagenta; });
        writeSolidTga("pose.mask.tga", kSide, kSide, tgaRgb(31, 0, 0));
        platform.directDrawCreate(game.directDraw);
        platform.createPrimarySurface(*game.directDraw, game.primarySurface);
        platform.getAttachedSurface(*game.primarySurface, game.backBuffer);
        LoadContext ctx{*game.directDraw, game.images};
        game.level = loadLevel(ctx, "desert");
        rook = makeFighter(ctx, Side::Left, game.fighter1);
        quill = makeFighter(ctx, Side::Right, game.fighter2);
    }

    std::unique_ptr<Character> makeFighter(LoadContext& ctx, Side side, std::unique_ptr<Fighter>& out)
    {
        auto c = makeCharacter(makeMove({}, 0, 0.0, makeAnimation(true, {FrameSpec{100, 125, 249}})));
        Frame& frame = *c->moves[0]->animation->frames[0];
        frame.image = std::make_unique<Image>(ctx.directDraw, ctx.images, "pose");
        out = std::make_unique<Fighter>(*c, *game.level, side);
        out->frame = &frame;
        return c;
    }
};

// Argument 1: with a two-line quote over fighter 2 (its text drawn anew in
// every frame).
void BM_DrawFight(benchmark::State& state)
{
    BenchFight fight;
    if (state.range(0) == 1) {
        Game& g = fight.game;
        g.directDraw->createSurface(127, 200, g.quoteSurface);
        g.quoteSurface->setColorKey(toRgb565(kMagenta));
        g.quoteFont = Font::openQuoteFont(23);
        g.activeQuote = {fight.platform.timeGetTime(), "Ink never dries.\nBlot out!", g.fighter2.get()};
    }
    for (auto _ : state) drawFight(fight.game);
    if (fight.platform.framesPresented() != static_cast<int>(state.iterations()))
        state.SkipWithError("a frame was not presented");
}
BENCHMARK(BM_DrawFight)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

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
