#include "app/controls_io.h"

#include <cstdio>

#include "app/game.h"
#include "content/ini_edit.h"
#include "input/match_settings.h"
#include "input/controls_file.h"
#include "platform/text_file.h"

namespace ib {

void loadControls(Game& game)
{
    if (game.controllers.configPath.empty() || game.controllers.controlsFixed) {
        game.controllers.keys = keyTable(game.controllers.controls);
        return;
    }
    std::string error;
    const auto text = readTextFile(game.controllers.configPath, &error);
    if (!error.empty())
        std::fprintf(stderr, "Inkblot Fighter: %s %s; the default controls are used\n",
                     game.controllers.configPath.c_str(), error.c_str());
    if (text) {
        ReadControls read = readControls(*text);
        for (const ControlsProblem& p : read.problems)
            std::fprintf(stderr, "Inkblot Fighter: %s:%d: %s\n", game.controllers.configPath.c_str(), p.line,
                         p.what.c_str());
        game.controllers.controls = read.controls;
        const MatchSettings match = readMatchSettings(*text);
        for (const ControlsProblem& p : match.problems)
            std::fprintf(stderr, "Inkblot Fighter: %s:%d: %s\n", game.controllers.configPath.c_str(), p.line,
                         p.what.c_str());
        PlayOptions& o = game.playOptions;
        if (match.rounds && !o.roundsGiven) o.rounds = *match.rounds;
        if (match.timerSeconds && !o.timerGiven) o.timerSeconds = *match.timerSeconds;
        game.onlineDelay = match.inputDelay;
        if (match.lobby && game.lobby.server.empty()) game.lobby.server = *match.lobby;
        if (match.playerName) game.lobby.name = *match.playerName;
        if (match.computerLevel) o.lastLevel = *match.computerLevel;
        for (int p = 0; p < 2; ++p)
            if (match.lastFighter[p]) o.lastFighter[p] = *match.lastFighter[p];
        if (match.lastStage) o.lastStage = *match.lastStage;
    }
    game.controllers.keys = keyTable(game.controllers.controls);
    PadSetup pads;
    if (!game.controllers.configPath.empty())
        pads.mappingsFile = (std::filesystem::path(game.controllers.configPath).parent_path() / "gamecontrollerdb.txt").string();
    pads.guids = game.controllers.controls.padGuid;
    game.platform.setPadSetup(pads);
}

bool saveControls(Game& game)
{
    if (game.controllers.controlsFixed) return false;
    if (game.controllers.configPath.empty()) {
        std::fputs("Inkblot Fighter: no controls file was given; the controls are kept until the game closes\n",
                   stderr);
        return false;
    }
    std::string error;
    const std::string old = readTextFile(game.controllers.configPath, &error).value_or(std::string());
    if (!error.empty()) {
        std::fprintf(stderr, "Inkblot Fighter: %s %s; the controls are not saved\n", game.controllers.configPath.c_str(),
                     error.c_str());
        return false;
    }
    error = replaceFile(game.controllers.configPath, writeControls(old, game.controllers.controls));
    if (!error.empty()) {
        std::fprintf(stderr, "Inkblot Fighter: %s; the controls are not saved\n", error.c_str());
        return false;
    }
    return true;
}

void rememberPlayChoices(Game& game, const std::vector<std::pair<std::string, std::string>>& entries,
                         const char* what)
{
    const std::string& path = game.controllers.configPath;
    if (path.empty() || game.controllers.controlsFixed) return;
    std::string error;
    std::string text = readTextFile(path, &error).value_or(std::string());
    for (const auto& [key, value] : entries) text = setIniEntry(text, "play", key, value);
    if (error.empty()) error = replaceFile(path, text);
    if (!error.empty()) std::fprintf(stderr, "Inkblot Fighter: %s; %s not saved\n", error.c_str(), what);
}

}  // namespace ib
