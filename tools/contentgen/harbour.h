// The night harbour stage: "harbour.background.tga",
// "harbour.foreground.tga", its status panel and health bar, laid out as
// the desert's (StageLayout) so both stages share the bar places.
#pragma once

#include <string>

namespace contentgen {

void makeHarbour(const std::string& outDir);

}  // namespace contentgen
