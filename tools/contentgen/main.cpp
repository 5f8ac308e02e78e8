// inkblot-contentgen SOURCE_DATA_DIR BUILD_DATA_DIR [--icon-header FILE] [--icons DIR] [--sounds-only]
//
// Draws the game's default content into BUILD_DATA_DIR: every fighter from
// its pose description NAME.poses (pictures, hit masks and .Frame files),
// the stages' pictures, the screens, the sparks, the window icon and the
// sounds (only the sounds with --sounds-only). The same sources give the same
// bytes on every run. --icons DIR draws the desktop icons into DIR.
#include <cstdio>
#include <algorithm>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#include "contentgen/check.h"
#include "contentgen/desert.h"
#include "contentgen/fighters.h"
#include "contentgen/harbour.h"
#include "contentgen/screens.h"
#include "contentgen/sounds.h"
#include "contentgen/sparks.h"
#include "contentgen/text.h"

int main(int argc, char** argv)
{
    std::string iconHeader, iconsDir;
    bool soundsOnly = false;
    bool usable = argc >= 3;
    for (int i = 3; usable && i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--sounds-only") soundsOnly = true;
        else if (option == "--icon-header" && i + 1 < argc) iconHeader = argv[++i];
        else if (option == "--icons" && i + 1 < argc) iconsDir = argv[++i];
        else usable = false;
    }
    if (!usable) {
        std::fprintf(stderr,
                     "usage: %s SOURCE_DATA_DIR BUILD_DATA_DIR [--icon-header FILE] [--icons DIR] [--sounds-only]\n",
                     argv[0]);
        return 2;
    }
    const std::string source = argv[1], out = argv[2];
    try {
        contentgen::makeSounds(out);
        if (soundsOnly) return 0;
        // Every pose description in the source folder is a fighter.
        std::vector<std::filesystem::path> poses;
        for (const auto& entry : std::filesystem::directory_iterator(source))
            if (entry.path().extension() == ".poses") poses.push_back(entry.path());
        std::sort(poses.begin(), poses.end());
        for (const auto& path : poses) contentgen::makeFighter(path.string(), out);
        contentgen::TextWriter text(contentgen::findFontFile());
        contentgen::makeDesert(out, text);
        contentgen::makeHarbour(out);
        contentgen::makeScreens(source, out, text);
        contentgen::makeSparks(out);
        contentgen::makeIcon(out, iconHeader);
        if (!iconsDir.empty()) contentgen::makeDesktopIcons(iconsDir);
        const auto problems = contentgen::checkReferences(out);
        for (const auto& p : problems) std::fprintf(stderr, "inkblot-contentgen: %s\n", p.c_str());
        if (!problems.empty()) return 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "inkblot-contentgen: %s\n", e.what());
        return 1;
    }
    return 0;
}
