// The screens around the fight: "splash.tga" (the game's name and both
// players' keys), "endsplash.tga", the quote scratch picture
// "pink.screen.tga", and the 32 x 32 window icon ("icon.rgba": RGBA bytes,
// rows from the top; optionally also as a C++ header).
#pragma once

#include <string>

namespace contentgen {

class TextWriter;

void makeScreens(const std::string& sourceDir, const std::string& outDir, TextWriter& text);
// Writes icon.rgba and icon.tga into outDir, and the header when headerPath
// is not empty.
void makeIcon(const std::string& outDir, const std::string& headerPath);

}  // namespace contentgen
