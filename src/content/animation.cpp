#include <algorithm>
#include <limits>

#include "content/content.h"
#include "content/content_error.h"
#include "content/line_reader.h"

namespace ib {

std::unique_ptr<Animation> loadAnimation(LoadContext& ctx, const std::string& baseName)
{
    auto animation = std::make_unique<Animation>();
    animation->name = baseName;
    const std::string fileName = baseName + ".Animation";
    LineReader file;
    if (!file.open(fileName, ctx.images.files)) throw ContentError("Animation file read error", fileName);

    const std::string loopLine = file.nextLine();
    animation->loops = leadingInt(loopLine);
    warnIfNoInt(ctx.images.warnings, fileName, 1, loopLine, "0 (plays once)");
    const int count = file.countListLines();
    animation->frames.reserve(static_cast<std::size_t>(count));
    std::int64_t total = 0;
    for (int i = 0; i < count; ++i) {
        const std::string frameName = file.nextLine();
        animation->frames.push_back(loadFrame(ctx, frameName));
        warnIfTrailingBlanks(ctx.images.warnings, fileName, file.lineNumber(), frameName,
                             frameName + ".Frame");
        total += animation->frames.back()->duration;
    }
    animation->frameCount = count;
    animation->totalDuration = static_cast<std::int32_t>(
        std::clamp<std::int64_t>(total, std::numeric_limits<std::int32_t>::min(),
                                 std::numeric_limits<std::int32_t>::max()));
    return animation;
}

const Frame* Animation::frameAt(std::int32_t elapsed) const
{
    // 64 bits, so neither the remainder nor the walk can overflow.
    std::int64_t t = elapsed;
    if (loops != 0) {
        // A looping animation with no length has nothing to show.
        if (totalDuration == 0) return nullptr;
        t %= totalDuration;
    }
    for (const auto& frame : frames) {
        t -= frame->duration;
        if (t < 0) return frame.get();
    }
    return nullptr;
}

}  // namespace ib
