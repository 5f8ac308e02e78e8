// A Character's spark pictures, drawn where its strikes land: its own
// ("<name>.spark.tga", "<name>.block-spark.tga") when the content has them,
// else the content's shared ones ("spark.tga", "block-spark.tga").
#pragma once

#include <string>

#include "content/content.h"

namespace ib {

// Sparks larger than this a side would cover the fighters; refused.
constexpr int kMaxSparkSide = 256;

// Loads both pictures into the Character; one that is found nowhere stays
// null. Throws ContentError "Spark picture not usable <FILE>" for a file
// that is there but cannot be read as a picture of 1 to kMaxSparkSide
// pixels a side.
void loadSparkPictures(LoadContext& ctx, Character& character);

}  // namespace ib
