#include "app/display.h"

#include "app/game.h"
#include "content/images.h"
#include "graphics/tiny_font.h"

namespace ib {

namespace {


// Paints rows 0..599, columns 0..799 black. A refused lock skips the surface.
void clearSurface(Surface& s)
{
    std::uint16_t* pixels = nullptr;
    std::int32_t pitch = 0;
    if (s.lock(pixels, pitch) != DD_OK || !pixels) return;
    for (int y = 0; y < kScreenHeight && y < s.height(); ++y) {
        std::uint16_t* row = pixels + static_cast<size_t>(y) * (pitch / 2);
        for (int x = 0; x < kScreenWidth && x < s.width(); ++x) row[x] = 0;
    }
    s.unlock();
}

}  // namespace

HRESULT initDisplay(Game& game)
{
    Platform& p = game.platform;
    if (!p.createWindow("Inkblot Fighter")) return DDERR_GENERIC;
    game.screen.mainWindow = true;
    p.showWindow();
    // Showing the window activates it at once.
    windowProc(game, WM_ACTIVATE, 0);

    HRESULT r = p.directDrawCreate(game.screen.directDraw);
    if (r != DD_OK) return showError(game, r, "DirectDrawCreateEx FAILED");
    r = p.setCooperativeLevel();
    if (r != DD_OK) return showError(game, r, "SetCooperativeLevel FAILED");
    r = p.setDisplayMode(kScreenWidth, kScreenHeight, 16);
    if (r != DD_OK) return showError(game, r, "SetDisplayMode FAILED");
    r = p.createPrimarySurface(*game.screen.directDraw, game.screen.primarySurface);
    if (r != DD_OK) return showError(game, r, "CreateSurface FAILED");
    r = p.getAttachedSurface(*game.screen.primarySurface, game.screen.backBuffer);
    if (r != DD_OK) return showError(game, r, "GetAttachedSurface FAILED");

    clearSurface(*game.screen.primarySurface);
    clearSurface(*game.screen.backBuffer);

    setUpGame(game);
    return DD_OK;
}

bool lockAsTarget(Surface& surface, PixelTarget& t)
{
    if (surface.lock(t.pixels, t.pitch) != DD_OK) return false;
    t.pitch /= 2;
    t.width = surface.width();
    t.height = surface.height();
    return true;
}

HRESULT restoreAfterLoss(Screen& screen)
{
    return restoreAllSurfaces(screen.primarySurface.get(), screen.images);
}

bool present(Screen& screen)
{
    if (!screen.primarySurface) return false;
    Surface& primary = *screen.primarySurface;
    if (!retryRule(screen, [&] { return primary.flip(); })) return false;
    screen.platform.presentFrame(primary);
    return true;
}

void releaseDisplay(Game& game)
{
    if (!game.screen.directDraw) return;
    game.screen.backBuffer.reset();
    game.screen.primarySurface.reset();
    game.screen.directDraw.reset();
    game.platform.releaseDisplay();
}

}  // namespace ib
