// Draws every pose of a fighter and writes, for each, "<pose>.tga",
// "<pose>.mask.tga" and "<pose>.Frame" into the output directory.
#pragma once

#include <string>
#include <vector>

namespace contentgen {

struct FrameRecord {
    std::string name;     // the .Frame base name
    std::string picture;  // the picture base name on its first line
    int duration = 0;
    int hotspotX = 0, hotspotY = 0;
    int dx = 0, dy = 0;
    int frontColumn = 0, backColumn = 0;
};

// The five lines of a .Frame file.
std::string frameFileText(const FrameRecord& frame);

// Reads posesPath, draws into outDir; returns the Frames written.
std::vector<FrameRecord> makeFighter(const std::string& posesPath, const std::string& outDir);

}  // namespace contentgen
