// The content's pictures and hit masks, read by name from the content
// folder, shared through two registries keyed by name, and restored after
// the display loses them.
#pragma once

#include <list>
#include <memory>
#include <string>

#include "content/content_files.h"
#include "content/content_warnings.h"
#include "graphics/hit_mask.h"
#include "graphics/image.h"
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

// Says once that the file at path holds fewer pixel bytes than its header
// asks for, and what the missing ones become.
void warnIfShort(ImageRegistry& registry, const std::string& path, const TgaFile& file,
                 const char* missingBecome);

// The surface for path, read on first use; null when it cannot be made.
std::shared_ptr<Surface> loadTgaSurface(DisplayDevice& directDraw, ImageRegistry& registry,
                                        const std::string& path);
// Writes the named file's pixels into surface again; always DD_OK.
HRESULT reloadTgaSurface(Surface& surface, const ImageRegistry& registry, const std::string& name);
HRESULT restoreLoadedSurfaces(ImageRegistry& registry);
// Restores the primary surface (and its back buffer), then every picture.
HRESULT restoreAllSurfaces(Surface* primary, ImageRegistry& registry);

// The mask for path, read on first use; null when the file cannot be opened.
const HitMask* loadHitMask(ImageRegistry& registry, const std::string& path);

// The picture of a pose, "<name>.tga" with "<name>.mask.tga".
// Throws ContentError "Image not found <name>" / "Image mask not found <name>".
Image loadImage(DisplayDevice& directDraw, ImageRegistry& registry, const std::string& name);

}  // namespace ib
