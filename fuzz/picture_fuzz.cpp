// The picture loader: a first load, the colour key, a copy out of it, a
// reload into a surface of another size, and a restore after a loss.
#include "fuzz_support.h"
#include "graphics/tga_surface.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    ib::fuzz::setUp();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace ib;
    if (fuzz::asksForTooManyPixels(data, size)) return -1;  // not added to the corpus
    fuzz::InWorkDir in;
    fuzz::writeInput("in.tga", data, size);
    fuzz::Loader loader(false);
    auto surface = loadTgaSurface(*loader.device, loader.images, "in.tga");
    if (!surface) return 0;
    // The header's sides, when the file holds them, are the surface's.
    if (size >= 16 && (surface->width() != (data[12] | data[13] << 8) ||
                       surface->height() != (data[14] | data[15] << 8)))
        __builtin_trap();
    if (loadTgaSurface(*loader.device, loader.images, "in.tga") != surface) __builtin_trap();

    setSourceColorKey(*surface, kMagenta);
    std::shared_ptr<Surface> small;
    loader.device->createSurface(5, 3, small);
    const Rect corner{0, 0, std::min(surface->width(), 5), std::min(surface->height(), 3)};
    small->bltFast(0, 0, *surface, corner, DDBLTFAST_SRCCOLORKEY);
    reloadTgaSurface(*small, "in.tga");

    loader.device->loseSurfaces();
    if (restoreLoadedSurfaces(loader.images) != DD_OK) __builtin_trap();
    return 0;
}
