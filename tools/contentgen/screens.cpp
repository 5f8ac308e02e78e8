#include "contentgen/screens.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <vector>

#include "contentgen/brush.h"
#include "contentgen/figure.h"
#include "contentgen/palette.h"
#include "contentgen/png.h"
#include "contentgen/poses.h"
#include "contentgen/prng.h"
#include "contentgen/text.h"
#include "contentgen/tga.h"

namespace contentgen {

namespace {

using namespace palette;
using Align = TextWriter::Align;

constexpr int kW = 800, kH = 600;

// A fighter's pose drawn from its pose description.
Raster posePicture(const std::string& sourceDir, const std::string& fighter, const std::string& poseName)
{
    PoseFile file = readPoseFile(sourceDir + "/" + fighter + ".poses");
    Figure fig = readFigure(file.figure);
    for (const PoseLine& p : file.poses)
        if (p.name == poseName) return drawPose(fig, p).picture;
    throw std::runtime_error(file.path + ": no pose " + poseName);
}

void paperWithWash(Raster& pic, Prng& rng)
{
    // Pale wash clouds in the corners and a brushed border.
    for (int i = 0; i < 7; ++i) {
        double cx = i % 2 ? rng.between(0, 160) : rng.between(640, 800);
        double cy = rng.between(0, kH);
        fillEllipse(kW, kH, cx, cy, rng.between(60, 140), rng.between(40, 90), pic.painter(kPaperShade));
    }
    const Ink ink{kInk, kInkStreak};
    brushPath(pic, {10, 12, 400, 9, 790, 12}, 3, ink, rng, 0.1);
    brushPath(pic, {10, 588, 400, 591, 790, 588}, 3, ink, rng, 0.1);
    brushPath(pic, {11, 10, 9, 300, 11, 590}, 3, ink, rng, 0.1);
    brushPath(pic, {789, 10, 791, 300, 789, 590}, 3, ink, rng, 0.1);
}

void title(Raster& pic, TextWriter& text, const std::string& words, int size, int y, Prng& rng)
{
    const int w = text.width(words, size);
    // An ink splash behind the name.
    for (int i = 0; i < 9; ++i)
        blot(pic, 400 - w / 2 + (i + 0.5) * w / 9.0, y + size * 0.62 + rng.between(-6, 6), size * rng.between(0.42, 0.55),
             kWashLight, rng);
    splatter(pic, 400 + w / 2.0, y + size * 0.6, 1, 0.2, 14, 90, 5, kWashLight, rng);
    splatter(pic, 400 - w / 2.0, y + size * 0.6, -1, -0.2, 14, 90, 5, kWashLight, rng);
    text.write(pic, words, size, 404, y + 4, kVermilion, Align::Centre);
    text.write(pic, words, size, 400, y, kInk, Align::Centre);
}

Raster splash(const std::string& sourceDir, TextWriter& text)
{
    Raster pic(kW, kH, kPaper);
    Prng rng(seedFrom("splash"));
    paperWithWash(pic, rng);
    title(pic, text, "Inkblot Fighter", 78, 26, rng);
    text.write(pic, "two fighters, one keyboard, a lot of ink", 22, 400, 122, kWash, Align::Centre);

    struct Column {
        int x;
        Colour colour;
        const char* heading;
        std::vector<std::pair<std::string, std::string>> keys;
    };
    const Column columns[] = {
        {40, kInk, "PLAYER 1  -  ROOK",
         {{"B", "walk toward quill"}, {"C", "walk back"}, {"F", "jump"}, {"V", "crouch"}, {"X", "attack"},
          {"Z", "block"}}},
        {425, kBlueInk, "PLAYER 2  -  QUILL",
         {{"Left", "walk toward rook"}, {"Right", "walk back"}, {"Up", "jump"}, {"Down", "crouch"},
          {"Slash", "attack"}, {"Period", "block"}}},
    };
    for (const Column& c : columns) {
        text.write(pic, c.heading, 28, c.x, 165, c.colour);
        brushPath(pic, {c.x + 0.0, 200, c.x + 330.0, 199}, 2.2, Ink{c.colour, c.colour}, rng);
        int y = 210;
        for (const auto& [key, what] : c.keys) {
            // The key itself is the game's to write: it may be rebound.
            (void)key;
            text.write(pic, what, 22, c.x + 96, y, kInk);
            y += 28;
        }
    }
    // The two fighters face each other in the bottom corners.
    Raster rook = posePicture(sourceDir, "rook", "rook-stance-1");
    Raster quill = posePicture(sourceDir, "quill", "quill-stance-1");
    stamp(pic, rook, -20, kH - rook.height() - 16, true);
    stamp(pic, quill, kW - quill.width() + 20, kH - quill.height() - 16, false);

    int y = 392;
    text.write(pic, "forward + attack: kick", 21, 400, y, kInk, Align::Centre);
    text.write(pic, "crouch + attack: low sweep", 21, 400, y += 27, kInk, Align::Centre);
    text.write(pic, "SPECIAL: down, down + forward,", 21, 400, y += 27, kVermilion, Align::Centre);
    text.write(pic, "forward + attack", 21, 400, y += 25, kVermilion, Align::Centre);
    text.write(pic, "Press any key to fight!", 32, 400, 498, kInk, Align::Centre);
    // The modes' keys and the sound's state under it are the game's to write.
    return pic;
}

Raster endScreen(const std::string& sourceDir, TextWriter& text)
{
    Raster pic(kW, kH, kPaper);
    Prng rng(seedFrom("endsplash"));
    paperWithWash(pic, rng);
    blot(pic, 400, 250, 150, kWashLight, rng);
    splatter(pic, 400, 250, 1, 0.3, 30, 260, 9, kWashLight, rng);
    splatter(pic, 400, 250, -1, -0.3, 30, 260, 9, kWashLight, rng);
    title(pic, text, "The ink has dried.", 60, 160, rng);
    text.write(pic, "Thanks for playing Inkblot Fighter", 28, 400, 260, kInk, Align::Centre);
    // Whoever won, both bow out.
    Raster rook = posePicture(sourceDir, "rook", "rook-stance-2");
    Raster quill = posePicture(sourceDir, "quill", "quill-stance-2");
    stamp(pic, rook, 400 - rook.width() - 10, kH - rook.height() - 24, true);
    stamp(pic, quill, 410, kH - quill.height() - 24, false);
    return pic;
}

// The ink blot of the window icon, drawn at size x size pixels: the same
// marks at any size.
Raster iconPicture(int size)
{
    const double s = size / 32.0;
    Raster pic(size, size, kMagenta);
    Prng rng(seedFrom("icon"));
    blot(pic, 15 * s, 17 * s, 10 * s, kInk, rng);
    splatter(pic, 16 * s, 16 * s, 1, -0.6, 6, 15 * s, 2.2 * s, kInk, rng);
    splatter(pic, 16 * s, 16 * s, -1, 0.5, 5, 14 * s, 2.0 * s, kInk, rng);
    fillDisc(size, size, 19 * s, 13 * s, 3.2 * s, pic.painter(kVermilion));
    return pic;
}

}  // namespace

void makeScreens(const std::string& sourceDir, const std::string& outDir, TextWriter& text)
{
    writeTga(outDir + "/splash.tga", splash(sourceDir, text));
    writeTga(outDir + "/endsplash.tga", endScreen(sourceDir, text));
    // The quotes are lettered on this picture's top-left 127 x 200 pixels,
    // which the game paints over every time: it only has to be big enough.
    writeTga(outDir + "/pink.screen.tga", Raster(128, 201, kMagenta));
}

void makeIcon(const std::string& outDir, const std::string& headerPath)
{
    const Raster pic = iconPicture(32);
    writeTga(outDir + "/icon.tga", pic);
    const std::vector<unsigned char> rgba = rgbaBytes(pic);
    std::ofstream raw(outDir + "/icon.rgba", std::ios::binary | std::ios::trunc);
    raw.write(reinterpret_cast<const char*>(rgba.data()), static_cast<std::streamsize>(rgba.size()));
    if (!raw) throw std::runtime_error("cannot write " + outDir + "/icon.rgba");
    if (headerPath.empty()) return;
    std::ofstream h(headerPath, std::ios::trunc);
    h << "// Made by inkblot-contentgen: the 32 x 32 window icon as RGBA bytes, rows from the top.\n"
         "#pragma once\n\ninline constexpr int kInkblotIconSize = 32;\n"
         "inline constexpr unsigned char kInkblotIconRgba[32 * 32 * 4] = {";
    for (std::size_t i = 0; i < rgba.size(); ++i) h << (i % 16 ? " " : "\n    ") << static_cast<int>(rgba[i]) << ",";
    h << "\n};\n";
    if (!h) throw std::runtime_error("cannot write " + headerPath);
}

void makeDesktopIcons(const std::string& iconsDir)
{
    for (int size : {48, 128, 256}) {
        const std::string dir = iconsDir + "/" + std::to_string(size) + "x" + std::to_string(size) + "/apps";
        std::filesystem::create_directories(dir);
        writePng(dir + "/inkblot-fighter.png", iconPicture(size));
    }
}

}  // namespace contentgen
