#include "content/content.h"
#include "content/content_error.h"
#include "content/line_reader.h"

namespace ib {

std::unique_ptr<Frame> loadFrame(LoadContext& ctx, const std::string& baseName)
{
    auto frame = std::make_unique<Frame>();
    frame->name = baseName;
    LineReader file;
    if (!file.open(baseName + ".Frame")) throw ContentError("Frame file read error <" + baseName + ">");

    frame->image = std::make_unique<Image>(ctx.directDraw, ctx.images, file.nextLine());
    readInt(file.nextLine(), frame->duration);
    readIntPair(file.nextLine(), frame->hotspotX, frame->hotspotY);
    readIntPair(file.nextLine(), frame->dx, frame->dy);
    readIntPair(file.nextLine(), frame->frontColumn, frame->backColumn);
    return frame;
}

}  // namespace ib
