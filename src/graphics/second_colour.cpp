#include "graphics/second_colour.h"

#include <algorithm>
#include <cstdint>

namespace ib {

std::shared_ptr<Surface> secondColour(DisplayDevice& device, const Surface& picture)
{
    std::shared_ptr<Surface> copy;
    if (device.createSurface(picture.width(), picture.height(), copy, NewPixels::Unset) != DD_OK || !copy)
        return nullptr;
    const std::size_t n = static_cast<std::size_t>(picture.width()) * static_cast<std::size_t>(picture.height());
    // 5-6-5: red's five bits at the top, blue's at the bottom.
    std::transform(picture.data(), picture.data() + n, copy->data(), [](std::uint16_t p) {
        return static_cast<std::uint16_t>((p & 0x07E0) | (p >> 11) | ((p & 0x1F) << 11));
    });
    if (picture.hasColorKey()) copy->setColorKey(picture.colorKey());
    return copy;
}

}  // namespace ib
