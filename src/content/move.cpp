#include "content/content.h"
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

bool hasFrameToShow(const Animation& animation)
{
    for (const auto& frame : animation.frames)
        if (frame->duration > 0) return true;
    return false;
}

}  // namespace

std::unique_ptr<Move> loadMove(LoadContext& ctx, const std::string& baseName)
{
    auto move = std::make_unique<Move>();
    move->name = baseName;
    LineReader file;
    if (!file.open(baseName + ".Move")) throw ContentError("Move file read error <" + baseName + ">");

    move->animation = loadAnimation(ctx, file.nextLine());
    // Without a Frame that lasts, a fighter playing this Move would have
    // nothing to show (and a looping one nothing to wrap by).
    if (!hasFrameToShow(*move->animation))
        throw ContentError("Animation has no frame to show <" + move->animation->name +
                           ".Animation>");
    move->priority = leadingInt(file.nextLine());
    move->damage = readDecimal(file.nextLine());

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
