#include "app/roster.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "app/game.h"
#include "content/content_error.h"
#include "content/images.h"
#include "graphics/tga_surface.h"
#include "platform/user_folders.h"

namespace ib {

namespace fs = std::filesystem;

namespace {

template <class Entry>
std::optional<std::size_t> named(const std::vector<Entry>& list, const std::string& name)
{
    for (std::size_t i = 0; i < list.size(); ++i)
        if (list[i].name == name) return i;
    return std::nullopt;
}

template <class Entry, class Loaded>
std::string namesOf(const std::vector<Entry>& list, Loaded loaded)
{
    std::string out;
    for (const Entry& e : list) {
        if (!e.tried || loaded(e)) out += (out.empty() ? "" : ", ") + e.name;
    }
    return out;
}

// Loads one with the game's readers; a content fault is kept as its message.
template <class Load>
void tryLoad(Game& game, std::string& error, bool& tried, Load load)
{
    if (tried) return;
    tried = true;
    try {
        LoadContext ctx{*game.screen.directDraw, game.screen.images};
        load(ctx);
    } catch (const ContentError& e) {
        error = e.what();
    } catch (const std::exception& e) {
        error = std::string("Content could not be loaded: ") + e.what();
    }
}

}  // namespace

std::vector<std::string> contentNames(const std::vector<std::string>& folders, const std::string& extension)
{
    std::vector<std::string> names;
    for (const std::string& folder : folders) {
        if (folder.empty()) continue;
        std::error_code ec;
        for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
            const std::string file = it->path().filename().string();
            if (file.size() <= extension.size() || !file.ends_with(extension)) continue;
            names.push_back(file.substr(0, file.size() - extension.size()));
        }
    }
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
}

std::string fighterPart(const std::string& name) { return "fighter:" + name; }
std::string stagePart(const std::string& name) { return "stage:" + name; }
std::string portraitPart(const std::string& name) { return "portrait:" + name; }

std::string userContentFolder()
{
    const fs::path data = userDataFolder();
    return data.empty() ? std::string() : (data / "content").string();
}

Roster& roster(Game& game)
{
    Roster& r = game.content.roster;
    if (r.listed) return r;
    r.listed = true;
    ContentFiles& files = game.content.contentFiles;
    if (files.userFolder().empty()) files.setUserFolder(userContentFolder());
    const std::vector<std::string> folders{files.folder().empty() ? "." : files.folder(), files.userFolder()};
    for (const std::string& name : contentNames(folders, ".Character")) {
        RosterFighter f;
        f.name = name;
        for (const auto& c : game.content.characters)
            if (c && c->name == name) {
                f.character = c.get();
                f.tried = true;
            }
        r.fighters.push_back(std::move(f));
    }
    for (const std::string& name : contentNames(folders, ".level")) {
        RosterStage s;
        s.name = name;
        if (game.content.level && game.content.level->name == name) {
            s.level = std::make_unique<Level>(*game.content.level);
            s.tried = true;
            r.startStage = s.level.get();
        }
        r.stages.push_back(std::move(s));
    }
    if (!r.startStage && game.content.level) {
        RosterStage s{game.content.level->name, std::make_unique<Level>(*game.content.level), {}, true};
        r.startStage = s.level.get();
        r.stages.insert(r.stages.begin(), std::move(s));
    }
    return r;
}

const Character* rosterFighter(Game& game, std::size_t i)
{
    Roster& r = roster(game);
    if (i >= r.fighters.size()) return nullptr;
    RosterFighter& f = r.fighters[i];
    tryLoad(game, f.error, f.tried, [&](LoadContext& ctx) {
        const ContentPart part(&game.content.contentFiles, fighterPart(f.name));
        f.owned = loadCharacter(ctx, f.name);
        f.character = f.owned.get();
    });
    // The content's own portrait, when it has one.
    if (f.character && !f.portrait) {
        const std::string portrait = f.name + ".portrait.tga";
        std::error_code ec;
        const ContentPart part(&game.content.contentFiles, portraitPart(f.name));
        if (fs::is_regular_file(game.content.contentFiles.pathOf(portrait), ec))
            f.portrait = loadTgaSurface(*game.screen.directDraw, game.screen.images, portrait);
        if (f.portrait) setSourceColorKey(*f.portrait, kMagenta);
    }
    return f.character;
}

const Level* rosterStage(Game& game, std::size_t i)
{
    Roster& r = roster(game);
    if (i >= r.stages.size()) return nullptr;
    RosterStage& s = r.stages[i];
    tryLoad(game, s.error, s.tried, [&](LoadContext& ctx) {
        const ContentPart part(&game.content.contentFiles, stagePart(s.name));
        s.level = loadLevel(ctx, s.name);
    });
    return s.level.get();
}

void loadRoster(Game& game)
{
    Roster& r = roster(game);
    for (std::size_t i = 0; i < r.fighters.size(); ++i) rosterFighter(game, i);
    for (std::size_t i = 0; i < r.stages.size(); ++i) rosterStage(game, i);
}

std::optional<std::size_t> fighterNamed(const Roster& r, const std::string& name) { return named(r.fighters, name); }
std::optional<std::size_t> stageNamed(const Roster& r, const std::string& name) { return named(r.stages, name); }

std::string fighterNames(const Roster& r)
{
    return namesOf(r.fighters, [](const RosterFighter& f) { return f.character != nullptr; });
}
std::string stageNames(const Roster& r)
{
    return namesOf(r.stages, [](const RosterStage& s) { return s.level != nullptr; });
}

}  // namespace ib
