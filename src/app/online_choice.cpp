#include "app/online_choice.h"

#include <algorithm>

#include "app/game.h"
#include "app/matchup.h"
#include "app/replay_recorder.h"
#include "app/roster.h"

namespace ib {

namespace {

// The fingerprint of the fighter's or stage's files, loaded now if they
// were not; nothing when there is none of that name or it cannot be loaded.
std::optional<std::uint64_t> contentOf(Game& game, bool stage, const std::string& name)
{
    Roster& r = roster(game);
    if (stage) {
        const auto i = stageNamed(r, name);
        if (!i || !rosterStage(game, *i)) return std::nullopt;
        return game.content.contentFiles.partFingerprint(stagePart(name));
    }
    const auto i = fighterNamed(r, name);
    if (!i || !rosterFighter(game, *i)) return std::nullopt;
    return game.content.contentFiles.partFingerprint(fighterPart(name));
}

std::string notThere(Game& game, bool stage, const std::string& name)
{
    loadRoster(game);
    const Roster& r = roster(game);
    const std::string there = stage ? stageNames(r) : fighterNames(r);
    return std::string("there is no ") + (stage ? "stage" : "fighter") + " \"" + name + "\" to fight with online; " +
           (stage ? "stages" : "fighters") + " there are: " + (there.empty() ? "none" : there);
}

FightState chosenFight(Game& game, const net::AgreedChoice& a, FightRules& rules)
{
    Roster& r = roster(game);
    const Character* c1 = rosterFighter(game, fighterNamed(r, a.fighter[0]).value_or(r.fighters.size()));
    const Character* c2 = rosterFighter(game, fighterNamed(r, a.fighter[1]).value_or(r.fighters.size()));
    const Level* stage = rosterStage(game, stageNamed(r, a.stage).value_or(r.stages.size()));
    // Both were looked up before they were agreed on.
    if (c1 && c2 && stage) useMatchup(game, *c1, *c2, *stage);
    FightState f;
    if (c1 && c2 && game.content.level) {
        f.fighter1.emplace(*c1, *game.content.level, Side::Left);
        f.fighter2.emplace(*c2, *game.content.level, Side::Right);
    }
    // The quotes and what is known of the fighters are theirs now.
    rules = fightRules(game);
    return f;
}

}  // namespace

std::string chooseOnline(Game& game, net::NetPlayConfig& config, std::string fighter, std::string stage)
{
    if (fighter.empty()) fighter = config.hosting ? "rook" : "quill";
    if (!config.hosting) stage.clear();
    else if (stage.empty()) stage = "desert";
    net::Choice choice;
    for (const bool isStage : {false, true}) {
        const std::string& name = isStage ? stage : fighter;
        if (isStage && !config.hosting) break;
        if (const std::string fault = net::nameFault(name); !fault.empty())
            return std::string("the ") + (isStage ? "stage " : "fighter ") + fault;
        const std::optional<std::uint64_t> content = contentOf(game, isStage, name);
        if (!content) return notThere(game, isStage, name);
        (isStage ? choice.stageContent : choice.fighterContent) = *content;
    }
    choice.fighter = fighter;
    choice.stage = stage;
    config.choice = choice;
    config.lookUp = onlineContentLookUp(game);
    config.makeFight = onlineFightMaker(game);
    return {};
}

net::ContentLookUp onlineContentLookUp(Game& game)
{
    return [&game](bool isStage, const std::string& name) { return contentOf(game, isStage, name); };
}

std::function<FightState(const net::AgreedChoice&, FightRules&)> onlineFightMaker(Game& game)
{
    return [&game](const net::AgreedChoice& a, FightRules& rules) { return chosenFight(game, a, rules); };
}

ReplayHeader onlineReplayHeader(const Game& game, const std::optional<net::AgreedChoice>& agreed)
{
    ReplayHeader h = replayHeaderOf(game);
    // The command line's choice is not the fight's: the agreed one is.
    std::vector<std::string> args;
    for (std::size_t i = 0; i < h.args.size(); ++i) {
        if ((h.args[i] == "--p1" || h.args[i] == "--p2" || h.args[i] == "--stage") && i + 1 < h.args.size()) {
            ++i;
            continue;
        }
        args.push_back(h.args[i]);
    }
    std::vector<std::string> parts;
    if (const auto& a = agreed) {
        for (const std::string& f : a->fighter) {
            parts.push_back(fighterPart(f));
            parts.push_back(portraitPart(f));
        }
        parts.push_back(stagePart(a->stage));
        args.insert(args.end(), {"--p1", a->fighter[0], "--p2", a->fighter[1], "--stage", a->stage});
    }
    h.args = std::move(args);
    h.content = game.content.contentFiles.fingerprintWith(parts);
    return h;
}

}  // namespace ib
