#include "app/play_options.h"

#include <cstdio>
#include <string_view>

#include "content/whole_number.h"
#include "fight/cpu_player.h"

namespace ib {

namespace {

std::optional<int> level(std::string_view s)
{
    const auto n = wholeNumber<int>(s);
    if (!n || *n < kMinComputerLevel || *n > kMaxComputerLevel) return std::nullopt;
    return n;
}

void warn(const char* what, std::string_view value)
{
    std::fprintf(stderr, "Inkblot Fighter: %s, not \"%.*s\"; the option is left out\n", what,
                 static_cast<int>(value.size()), value.data());
}

}  // namespace

int readPlayOption(int argc, const char* const* argv, int i, PlayOptions& options)
{
    const std::string_view a = argv[i] ? argv[i] : "";
    const bool hasValue = i + 1 < argc && argv[i + 1];
    const std::string_view value = hasValue ? argv[i + 1] : "";
    if (a == "--training") {
        options.startMode = PlayMode::Training;
        return 1;
    }
    if (a == "--versus-cpu") {
        options.startMode = PlayMode::VersusComputer;
        // The level is optional: a following number is taken as it.
        if (!hasValue || !wholeNumber<int>(value)) return 1;
        if (const auto l = level(value)) options.computerLevel[1] = *l;
        else warn("--versus-cpu takes a level from 1 to 5", value);
        return 2;
    }
    if (a == "--cpu") {
        const std::size_t colon = value.find(':');
        const auto player = colon == std::string_view::npos ? std::nullopt : wholeNumber<int>(value.substr(0, colon));
        const auto l = colon == std::string_view::npos ? std::nullopt : level(value.substr(colon + 1));
        if (player && (*player == 1 || *player == 2) && l) {
            options.computerLevel[*player - 1] = *l;
            if (!options.startMode) options.startMode = PlayMode::VersusComputer;
        } else {
            warn("--cpu takes PLAYER:LEVEL, a player 1 or 2 and a level from 1 to 5", value);
        }
        return hasValue ? 2 : 1;
    }
    if (a == "--choose-level") {
        if (const auto l = level(value)) {
            options.chooseLevel = true;
            options.lastLevel = *l;
        } else {
            warn("--choose-level takes the level first shown, from 1 to 5", value);
        }
        return hasValue ? 2 : 1;
    }
    if (a == "--p1" || a == "--p2" || a == "--stage") {
        if (!value.empty()) (a == "--stage" ? options.stage : options.fighter[a == "--p2"]) = value;
        else warn("--p1, --p2 and --stage take a name", value);
        return hasValue ? 2 : 1;
    }
    if (a == "--select") {
        options.select = true;
        return 1;
    }
    if (a == "--match") {
        options.match = true;
        if (!options.startMode) options.startMode = PlayMode::TwoPlayers;
        return 1;
    }
    if (a == "--rounds") {
        const auto n = wholeNumber<std::int32_t>(value);
        if (n && *n >= 1 && *n <= kMaxRounds) {
            options.rounds = *n;
            options.roundsGiven = true;
        }
        else warn("--rounds takes a number of rounds from 1 to 9", value);
        return hasValue ? 2 : 1;
    }
    if (a == "--timer") {
        const auto n = wholeNumber<std::uint32_t>(value);
        if (n && *n <= 99) {
            options.timerSeconds = *n;
            options.timerGiven = true;
        }
        else warn("--timer takes seconds from 0 (no timer) to 99", value);
        return hasValue ? 2 : 1;
    }
    if (a == "--seed") {
        if (const auto s = wholeNumber<std::uint32_t>(value)) options.seed = *s;
        else warn("--seed takes a whole number from 0 to 4294967295", value);
        return hasValue ? 2 : 1;
    }
    return 0;
}

std::vector<std::string> playArguments(const PlayOptions& options)
{
    std::vector<std::string> args;
    if (options.startMode == PlayMode::Training) args.push_back("--training");
    if (options.startMode == PlayMode::VersusComputer) args.push_back("--versus-cpu");
    for (int player = 1; player <= 2; ++player) {
        if (options.computerLevel[player - 1] == 0) continue;
        args.push_back("--cpu");
        args.push_back(std::to_string(player) + ":" + std::to_string(options.computerLevel[player - 1]));
    }
    if (options.match) args.push_back("--match");
    if (options.chooseLevel) {
        args.push_back("--choose-level");
        args.push_back(std::to_string(options.lastLevel));
    }
    const char* const names[] = {"--p1", "--p2", "--stage"};
    const std::string* values[] = {&options.fighter[0], &options.fighter[1], &options.stage};
    for (int i = 0; i < 3; ++i) {
        if (values[i]->empty()) continue;
        args.push_back(names[i]);
        args.push_back(*values[i]);
    }
    if (options.select) args.push_back("--select");
    if (options.rounds != kDefaultRounds) {
        args.push_back("--rounds");
        args.push_back(std::to_string(options.rounds));
    }
    if (options.timerSeconds != kDefaultTimerSeconds) {
        args.push_back("--timer");
        args.push_back(std::to_string(options.timerSeconds));
    }
    if (options.seed) {
        args.push_back("--seed");
        args.push_back(std::to_string(*options.seed));
    }
    return args;
}

}  // namespace ib
