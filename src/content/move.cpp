#include "content/content.h"

#include <algorithm>
#include "content/content_error.h"
#include "content/line_reader.h"

namespace ib {

namespace {

// The button code a step-line letter stands for; 0 for any other character.
int buttonCode(char c)
{
    switch (c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c) {
        case 'f': return 1;
        case 'b': return 2;
        case 'u': return 3;
        case 'd': return 4;
        case 'k': return 5;
        case 'a': return 6;
        case 'h': return 7;
        case 'e': return 8;
        case 'v': return 9;
        case '*': return 10;
        default: return 0;
    }
}

// Button letters up to the first other character; from there the line's
// numbers: the integer it begins with, and the one after the first comma.
void readStep(const std::string& line, ButtonSet& step, std::int32_t& valueA,
              std::int32_t& valueB)
{
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '-') {
            step.clear();
            continue;
        }
        if (const int code = buttonCode(line[i])) {
            step.add(code);
            continue;
        }
        const std::string_view rest = std::string_view(line).substr(i);
        valueA = leadingInt(rest);
        const std::size_t comma = rest.find(',');
        if (comma != std::string_view::npos) valueB = leadingInt(rest.substr(comma + 1));
        return;
    }
}

// A fighter playing the Move must have a Frame from its first moment, and a
// looping Animation a length to wrap by; otherwise the fighter would have
// nothing to show, no body to be struck and nothing to strike with.
bool hasFrameToShow(const Animation& animation)
{
    if (animation.loops != 0 && animation.totalDuration <= 0) return false;
    return animation.frameAt(0) != nullptr;
}

// Whether a frame of the animation has a strike value in its hit mask.
bool canStrike(const Animation& animation)
{
    return std::any_of(animation.frames.begin(), animation.frames.end(), [](const auto& frame) {
        const HitMask* mask = frame && frame->image ? frame->image->mask : nullptr;
        return mask && std::any_of(mask->strike.begin(), mask->strike.end(),
                                   [](std::uint8_t v) { return v != 0; });
    });
}

}  // namespace

std::unique_ptr<Move> loadMove(LoadContext& ctx, const std::string& baseName)
{
    auto move = std::make_unique<Move>();
    move->name = baseName;
    LineReader file;
    if (!file.open(baseName + ".Move", ctx.images.files)) throw ContentError("Move file read error", baseName);

    const std::string fileName = baseName + ".Move";
    const std::string animationName = file.nextLine();
    move->animation = loadAnimation(ctx, animationName);
    warnIfTrailingBlanks(ctx.images.warnings, fileName, 1, animationName, animationName + ".Animation");
    if (!hasFrameToShow(*move->animation))
        throw ContentError("Animation has no frame to show", move->animation->name + ".Animation");
    move->strikes = canStrike(*move->animation);
    const std::string priorityLine = file.nextLine();
    move->priority = leadingInt(priorityLine);
    warnIfNoInt(ctx.images.warnings, fileName, 2, priorityLine, "0");
    const std::string damageLine = file.nextLine();
    move->damage = readDecimal(damageLine);
    warnIfNoDecimal(ctx.images.warnings, fileName, 3, damageLine);

    const int count = file.countListLines();
    move->stepCount = count;
    move->steps.resize(static_cast<std::size_t>(count));
    move->stepValueA.assign(static_cast<std::size_t>(count), 0);
    move->stepValueB.assign(static_cast<std::size_t>(count), 0);
    // The first step line is the oldest input and goes last.
    for (int i = count - 1; i >= 0; --i)
        readStep(file.nextLine(), move->steps[i], move->stepValueA[i], move->stepValueB[i]);
    return move;
}

}  // namespace ib
