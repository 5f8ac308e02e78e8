// Every fighter and stage there is to choose from: each NAME.Character and
// NAME.level in the content folder and in the player's own content folder.
// The three the game starts with come loaded; the others are loaded when
// first needed, and one that cannot be keeps its content message and is
// never chosen.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "content/content.h"

namespace ib {

struct Game;

struct RosterFighter {
    std::string name;
    const Character* character = nullptr;  // null until loaded, and when it cannot be
    std::unique_ptr<Character> owned;      // one loaded after start-up
    std::shared_ptr<Surface> portrait;     // NAME.portrait.tga, when the content has one
    std::string error;                     // why it cannot be loaded
    bool tried = false;
};

struct RosterStage {
    std::string name;
    std::unique_ptr<Level> level;  // a copy of the one the game started with
    std::string error;
    bool tried = false;
};

struct Roster {
    bool listed = false;
    // The level the game started with, kept as it was loaded.
    const Level* startStage = nullptr;
    // A fight was set on other fighters or another stage than the start's.
    bool changed = false;
    std::vector<RosterFighter> fighters;
    std::vector<RosterStage> stages;
};

// The names of the files ending in `extension` in the folders (a missing
// folder holds none), the extension cut off, sorted, each once.
std::vector<std::string> contentNames(const std::vector<std::string>& folders, const std::string& extension);

// The player's own content folder: $XDG_DATA_HOME/inkblot-fighter/content,
// else ~/.local/share/inkblot-fighter/content; empty when unknown.
std::string userContentFolder();

// The names a fighter's and a stage's files are fingerprinted under
// (ContentFiles parts).
std::string fighterPart(const std::string& name);
std::string stagePart(const std::string& name);
std::string portraitPart(const std::string& name);

// Lists the roster once, from the folders the content is read from.
Roster& roster(Game& game);
// The fighter or stage, loaded now if it was not; null when it cannot be
// (its error says why).
const Character* rosterFighter(Game& game, std::size_t i);
const Level* rosterStage(Game& game, std::size_t i);
// Loads every one not tried yet.
void loadRoster(Game& game);

std::optional<std::size_t> fighterNamed(const Roster& r, const std::string& name);
std::optional<std::size_t> stageNamed(const Roster& r, const std::string& name);
// "quill, rook" (the loadable ones, in the roster's order).
std::string fighterNames(const Roster& r);
std::string stageNames(const Roster& r);

}  // namespace ib
