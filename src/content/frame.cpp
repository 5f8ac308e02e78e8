#include "content/content.h"
#include "content/content_error.h"
#include "content/line_reader.h"

namespace ib {

std::unique_ptr<Frame> loadFrame(LoadContext& ctx, const std::string& baseName)
{
    auto frame = std::make_unique<Frame>();
    frame->name = baseName;
    LineReader file;
    if (!file.open(baseName + ".Frame", ctx.images.files)) throw ContentError("Frame file read error", baseName);

    const std::string fileName = baseName + ".Frame";
    const std::string picture = file.nextLine();
    frame->image = std::make_unique<Image>(loadImage(ctx.directDraw, ctx.images, picture));
    warnIfTrailingBlanks(ctx.images.warnings, fileName, 1, picture, picture + ".tga");
    // Each number line read, then checked: a line with no number leaves
    // its fields at 0.
    const auto numbers = [&](auto read, const char* readAs) {
        const std::string line = file.nextLine();
        read(line);
        warnIfNoInt(ctx.images.warnings, fileName, file.lineNumber(), line, readAs);
    };
    numbers([&](const std::string& l) { readInt(l, frame->duration); }, "0");
    numbers([&](const std::string& l) { readIntPair(l, frame->hotspotX, frame->hotspotY); }, "0,0");
    numbers([&](const std::string& l) { readIntPair(l, frame->dx, frame->dy); }, "0,0");
    numbers([&](const std::string& l) { readIntPair(l, frame->frontColumn, frame->backColumn); },
            "0,0");
    return frame;
}

}  // namespace ib
