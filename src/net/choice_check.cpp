#include "net/choice_check.h"

#include "content/content_error.h"

namespace ib::net {

namespace {

bool nameCharacter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_';
}

// One fighter or stage of the choice: its name, then whether this side has
// the same files under it.
std::string partFault(const std::string& name, std::uint64_t theirContent, bool stage, bool fromHost,
                      const ContentLookUp& lookUp)
{
    const std::string what = std::string(fromHost ? "the host's " : "the joining player's ") +
                             (stage ? "stage" : "fighter");
    if (const std::string fault = nameFault(name); !fault.empty()) return "refused: " + what + " " + fault;
    const std::optional<std::uint64_t> ours = lookUp ? lookUp(stage, name) : std::nullopt;
    if (!ours)
        return "refused: " + what + " \"" + name + "\" is not in " +
               (fromHost ? "the joining player's content" : "the host's content");
    if (*ours != theirContent) return "refused: the content of " + what + " \"" + name + "\" differs between the two players";
    return {};
}

}  // namespace

std::string nameFault(const std::string& name)
{
    const std::string shown = "\"" + printableName(name.substr(0, kMaxChoiceName)) +
                              (name.size() > kMaxChoiceName ? "..." : "") + "\"";
    if (name.empty()) return "has no name";
    if (name.size() > kMaxChoiceName)
        return shown + " is too long for a name (" + std::to_string(name.size()) + " characters, at most " +
               std::to_string(kMaxChoiceName) + ")";
    for (const char c : name)
        if (!nameCharacter(c)) return shown + " cannot be a name (only letters, digits, - and _)";
    return {};
}

std::string choiceFault(const Choice& theirs, bool fromHost, const ContentLookUp& lookUp)
{
    if (std::string fault = partFault(theirs.fighter, theirs.fighterContent, false, fromHost, lookUp); !fault.empty())
        return fault;
    if (fromHost) return partFault(theirs.stage, theirs.stageContent, true, true, lookUp);
    if (!theirs.stage.empty()) return "refused: the joining player chose a stage, which only the host does";
    return {};
}

std::string agreedFault(const AgreedChoice& agreed, const ContentLookUp& lookUp)
{
    for (int i = 0; i < 3; ++i) {
        const bool stage = i == 2;
        const std::string& name = stage ? agreed.stage : agreed.fighter[i];
        const std::string what = stage ? "the fight's stage" : "player " + std::to_string(i + 1) + "'s fighter";
        if (const std::string fault = nameFault(name); !fault.empty()) return what + " " + fault;
        const std::optional<std::uint64_t> ours = lookUp ? lookUp(stage, name) : std::nullopt;
        if (!ours) return what + " \"" + name + "\" is not in this spectator's content";
        if (*ours != agreed.content[i]) return "the content of " + what + " \"" + name + "\" differs from this spectator's";
    }
    return {};
}

}  // namespace ib::net
