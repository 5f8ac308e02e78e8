#include "content/content_error.h"
#include "graphics/images.h"

namespace ib {

Image::Image(DisplayDevice& directDraw, ImageRegistry& registry, const std::string& name)
    : name(name)
{
    surface = loadTgaSurface(directDraw, registry, name + ".tga");
    if (!surface) throw ContentError("Image not found", name);
    width = surface->width();
    height = surface->height();
    // Again for every Image, also when the surface is shared.
    setSourceColorKey(*surface, kMagenta);
    mask = loadHitMask(registry, name + ".mask.tga");
    if (!mask) throw ContentError("Image mask not found", name);
}

}  // namespace ib
