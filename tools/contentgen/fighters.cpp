#include "contentgen/fighters.h"

#include <fstream>
#include <map>
#include <stdexcept>

#include "contentgen/figure.h"
#include "contentgen/poses.h"
#include "contentgen/tga.h"

namespace contentgen {

std::string frameFileText(const FrameRecord& f)
{
    return f.picture + "\n" + std::to_string(f.duration) + "\n" + std::to_string(f.hotspotX) + "," +
           std::to_string(f.hotspotY) + "\n" + std::to_string(f.dx) + "," + std::to_string(f.dy) + "\n" +
           std::to_string(f.frontColumn) + "," + std::to_string(f.backColumn) + "\n";
}

std::vector<FrameRecord> makeFighter(const std::string& posesPath, const std::string& outDir)
{
    const PoseFile file = readPoseFile(posesPath);
    const Figure figure = readFigure(file.figure);
    std::map<std::string, FrameRecord> drawn;
    std::vector<FrameRecord> frames;
    for (const PoseLine& pose : file.poses) {
        const Fields& p = pose.fields;
        FrameRecord rec;
        rec.name = pose.name;
        if (p.has("same")) {
            // Another timing or step for a picture drawn earlier.
            p.onlyKeys({"same", "ms", "dx", "dy"});
            auto it = drawn.find(p.text("same"));
            if (it == drawn.end())
                throw std::runtime_error(p.where() + ": same=" + p.text("same") + " is not a pose drawn above");
            rec = it->second;
            rec.name = pose.name;
        } else {
            PosedPicture art = drawPose(figure, pose);
            writeTga(outDir + "/" + pose.name + ".tga", art.picture);
            writeTga(outDir + "/" + pose.name + ".mask.tga", art.mask);
            rec.picture = pose.name;
            rec.hotspotX = figure.hotspotX;
            rec.hotspotY = figure.hotspotY;
            rec.frontColumn = art.frontColumn;
            rec.backColumn = art.backColumn;
            drawn[pose.name] = rec;
        }
        rec.duration = static_cast<int>(p.numbers("ms", 1)[0]);
        rec.dx = static_cast<int>(p.number("dx", 0));
        rec.dy = static_cast<int>(p.number("dy", 0));
        if (rec.duration <= 0) throw std::runtime_error(p.where() + ": ms= must be above 0");
        std::ofstream out(outDir + "/" + pose.name + ".Frame", std::ios::binary | std::ios::trunc);
        out << frameFileText(rec);
        if (!out) throw std::runtime_error("cannot write " + outDir + "/" + pose.name + ".Frame");
        frames.push_back(rec);
    }
    return frames;
}

}  // namespace contentgen
