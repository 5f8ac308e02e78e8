// One picture of a fighter's pose with its hit mask, as drawn and as hit.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "graphics/hit_mask.h"
#include "platform/surface.h"

namespace ib {

struct Image {
    std::string name;
    std::shared_ptr<Surface> surface;
    const HitMask* mask = nullptr;  // owned by whoever loaded it
    std::int32_t width = 0;
    std::int32_t height = 0;
};

}  // namespace ib
