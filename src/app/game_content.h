// The content the game plays, loaded once at start-up and then only read:
// the level, the two Characters, what the computer knows of them, the
// quotes, and the record of which files were read and what looked wrong.
#pragma once

#include <memory>
#include <vector>

#include "app/quotes.h"
#include "app/roster.h"
#include "content/content.h"
#include "content/content_files.h"
#include "content/content_warnings.h"
#include "fight/move_knowledge.h"

namespace ib {

struct Content {
    std::unique_ptr<Level> level;
    std::vector<std::unique_ptr<Character>> characters;  // rook, quill
    // Every fighter and stage to choose from, listed when first asked for.
    Roster roster;
    // What the computer knows of each player's Character.
    std::vector<MoveKnowledge> knowledge;
    // The quotes of the fight: the content's own ("stuff.quotes", kept as
    // startQuotes), then each fighter's NAME.quotes when the fight is not
    // the one the game starts with.
    QuoteBook quoteBook;
    QuoteBook startQuotes;
    // Content that loaded but looks wrong, each said once on standard error.
    ContentWarnings contentWarnings;
    // The folder the content is read from, and what was read of it.
    ContentFiles contentFiles;
};

}  // namespace ib
