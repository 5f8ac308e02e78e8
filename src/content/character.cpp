#include "content/content.h"
#include "content/content_error.h"
#include "content/line_reader.h"
#include "content/spark_pictures.h"

namespace ib {

std::unique_ptr<Character> loadCharacter(LoadContext& ctx, const std::string& baseName)
{
    auto character = std::make_unique<Character>();
    character->name = baseName;
    LineReader file;
    if (!file.open(baseName + ".Character", ctx.images.files))
        throw ContentError("Character file read error", baseName);

    const std::string fileName = baseName + ".Character";
    const std::string animationName = file.nextLine();
    character->animation = loadAnimation(ctx, animationName);
    warnIfTrailingBlanks(ctx.images.warnings, fileName, 1, animationName, animationName + ".Animation");
    const int count = file.countListLines();
    // The last Move listed is the default move, so there must be one.
    if (count == 0) throw ContentError("Character file lists no move", baseName);
    character->moves.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const std::string moveName = file.nextLine();
        character->moves.push_back(loadMove(ctx, moveName));
        warnIfTrailingBlanks(ctx.images.warnings, fileName, file.lineNumber(), moveName, moveName + ".Move");
    }
    character->moveCount = count - 1;
    loadSparkPictures(ctx, *character);
    return character;
}

}  // namespace ib
