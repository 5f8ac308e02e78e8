// The screens around the fight: "splash.tga" (the game's name and both
// players' keys), "endsplash.tga", the quote scratch picture
// "pink.screen.tga", and the 32 x 32 window icon ("icon.rgba": RGBA bytes,
// rows from the top; optionally also as a C++ header). The same ink blot is
// the desktop's icon.
#pragma once

#include <string>

namespace contentgen {

class TextWriter;

void makeScreens(const std::string& sourceDir, const std::string& outDir, TextWriter& text);
// Writes icon.rgba and icon.tga into outDir, and the header when headerPath
// is not empty.
void makeIcon(const std::string& outDir, const std::string& headerPath);
// Writes the desktop icon at 48, 128 and 256 pixels as the icon theme lays
// them out: iconsDir/48x48/apps/inkblot-fighter.png and so on.
void makeDesktopIcons(const std::string& iconsDir);

}  // namespace contentgen
