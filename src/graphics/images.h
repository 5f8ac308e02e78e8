// Pictures and hit masks read from 16-bit TGA files, shared through two
// registries keyed by path, and restored after the display loses them.
#pragma once

#include <cstdint>
#include <list>
#include <memory>
#include <string>

#include "content/content_files.h"
#include "content/content_warnings.h"
#include "graphics/hit_mask.h"
#include "platform/surface.h"

namespace ib {

struct LoadedSurface {
    std::shared_ptr<Surface> surface;
    std::string path;
};

// Every picture and mask loaded in this run, in load order.
struct ImageRegistry {
    std::list<LoadedSurface> loadedSurfaces;
    std::list<HitMask> loadedMasks;
    // Where content that loads but looks wrong is reported (a picture
    // shorter than its header, and what the content readers find); none:
    // silent.
    ContentWarnings* warnings = nullptr;
    // Where the files are read from and noted; none: the working directory.
    ContentFiles* files = nullptr;
};

struct TgaFile;
enum class TgaRead;
// Reads the picture or mask file of that name from the registry's content
// folder; a first read of it is noted in the fingerprint.
TgaRead readContentTga(ImageRegistry& registry, const std::string& name, TgaFile& file);

struct TgaFile;
// Says once that the file at path holds fewer pixel bytes than its header
// asks for, and what the missing ones become.
void warnIfShort(ImageRegistry& registry, const std::string& path, const TgaFile& file,
                 const char* missingBecome);

struct PixelShifts {
    int red = 0;
    int green = 0;
    int blue = 0;
};

PixelShifts pixelShifts(const PixelFormat& format);

// The surface for path, read on first use; null when it cannot be made.
std::shared_ptr<Surface> loadTgaSurface(DisplayDevice& directDraw, ImageRegistry& registry,
                                        const std::string& path);
// Writes the file's pixels into surface again; always DD_OK.
HRESULT reloadTgaSurface(Surface& surface, const std::string& path);
HRESULT reloadTgaSurface(Surface& surface, const ImageRegistry& registry, const std::string& name);
HRESULT restoreLoadedSurfaces(ImageRegistry& registry);
// Restores the primary surface (and its back buffer), then every picture.
HRESULT restoreAllSurfaces(Surface* primary, ImageRegistry& registry);

std::uint32_t matchColor(Surface& surface, ColorRef rgb);
void setSourceColorKey(Surface& surface, ColorRef rgb);

// The mask for path, read on first use; null when the file cannot be opened.
const HitMask* loadHitMask(ImageRegistry& registry, const std::string& path);

// One picture of a fighter's pose: "<name>.tga" and "<name>.mask.tga".
struct Image {
    // Throws ContentError "Image not found <name>" / "Image mask not found <name>".
    Image(DisplayDevice& directDraw, ImageRegistry& registry, const std::string& name);

    std::string name;
    std::shared_ptr<Surface> surface;
    const HitMask* mask = nullptr;
    std::int32_t width = 0;
    std::int32_t height = 0;
};

}  // namespace ib
