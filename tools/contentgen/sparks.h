// The default spark pictures every fighter's strikes show where they land:
// "spark.tga" (a hit: an ink-yellow star) and "block-spark.tga" (a block:
// a pale blue ring round a white cross), magenta where transparent.
#pragma once

#include <string>

namespace contentgen {

void makeSparks(const std::string& outDir);

}  // namespace contentgen
