#include "content/images.h"

#include "content/content_error.h"
#include "graphics/tga_file.h"
#include "graphics/tga_surface.h"

namespace ib {

TgaRead readContentTga(ImageRegistry& registry, const std::string& name, TgaFile& file)
{
    const TgaRead read = readTgaFile(registry.files ? registry.files->pathOf(name) : name, file);
    if (read == TgaRead::Ok && registry.files) {
        const std::int32_t sides[2] = {file.width, file.height};
        registry.files->noteRead(name, sides, sizeof sides);
        registry.files->noteRead(name, file.bytes, file.byteCount);
    }
    return read;
}

void warnIfShort(ImageRegistry& registry, const std::string& path, const TgaFile& file,
                 const char* missingBecome)
{
    const std::size_t wanted = 2 * static_cast<std::size_t>(file.width) * file.height;
    if (!registry.warnings || file.byteCount >= wanted) return;
    registry.warnings->warn(path, 0, "the file holds " + std::to_string(file.byteCount) + " of the " +
                                         std::to_string(wanted) + " pixel bytes its header asks for; " +
                                         missingBecome);
}

std::shared_ptr<Surface> loadTgaSurface(DisplayDevice& directDraw, ImageRegistry& registry,
                                        const std::string& path)
{
    for (const LoadedSurface& entry : registry.loadedSurfaces)
        if (entry.path == path) return entry.surface;

    TgaFile file;
    if (readContentTga(registry, path, file) != TgaRead::Ok) return nullptr;
    std::shared_ptr<Surface> surface = makeTgaSurface(directDraw, file);
    if (!surface) return nullptr;
    warnIfShort(registry, path, file, "the missing pixels are black");
    registry.loadedSurfaces.push_back(LoadedSurface{surface, path});
    return surface;
}

HRESULT reloadTgaSurface(Surface& surface, const ImageRegistry& registry, const std::string& name)
{
    return reloadTgaSurface(surface, registry.files ? registry.files->pathOf(name) : name);
}

HRESULT restoreLoadedSurfaces(ImageRegistry& registry)
{
    for (const LoadedSurface& entry : registry.loadedSurfaces) {
        HRESULT r = entry.surface->restore();
        if (r != DD_OK) return r;
        r = reloadTgaSurface(*entry.surface, registry, entry.path);
        if (r != DD_OK) return r;
    }
    return DD_OK;
}

HRESULT restoreAllSurfaces(Surface* primary, ImageRegistry& registry)
{
    if (primary) {
        HRESULT r = primary->restore();
        if (r != DD_OK) return r;
    }
    return restoreLoadedSurfaces(registry);
}

const HitMask* loadHitMask(ImageRegistry& registry, const std::string& path)
{
    for (const HitMask& mask : registry.loadedMasks)
        if (mask.name == path) return &mask;

    TgaFile file;
    if (readContentTga(registry, path, file) != TgaRead::Ok) return nullptr;
    warnIfShort(registry, path, file, "the missing cells neither strike nor can be struck");
    registry.loadedMasks.push_back(hitMaskFromTga(file, path));
    return &registry.loadedMasks.back();
}

Image loadImage(DisplayDevice& directDraw, ImageRegistry& registry, const std::string& name)
{
    Image image;
    image.name = name;
    image.surface = loadTgaSurface(directDraw, registry, name + ".tga");
    if (!image.surface) throw ContentError("Image not found", name);
    image.width = image.surface->width();
    image.height = image.surface->height();
    // Again for every Image, also when the surface is shared.
    setSourceColorKey(*image.surface, kMagenta);
    image.mask = loadHitMask(registry, name + ".mask.tga");
    if (!image.mask) throw ContentError("Image mask not found", name);
    return image;
}

}  // namespace ib
