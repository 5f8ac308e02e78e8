#include <algorithm>

#include "input/controls_entry.h"
#include "input/controls_file.h"
#include "platform/user_folders.h"

namespace ib {

namespace {

using namespace controls_file;

std::string faultText(IniFault fault)
{
    switch (fault) {
    case IniFault::NotAnEntry: return "is not \"name = value\", a [section] or a comment";
    case IniFault::UnclosedSection: return "a [section] without its closing \"]\"";
    case IniFault::NulByte: return "holds a NUL byte; the line is left out";
    case IniFault::TooLong:
        return "is longer than " + std::to_string(kIniLongestLine) + " characters; the line is left out";
    }
    return {};
}

// A binding and the line it came from (0: the default).
struct Choice {
    int value = 0;
    int line = 0;
};

// Refuses bindings that clash, the one read last first, until none do;
// each refused one goes back to its default, which may clash in turn.
template <class Owner>
void refuseClashes(std::vector<Choice*> slots, const std::vector<int>& defaults, const Owner& owner,
                   std::vector<ControlsProblem>& problems)
{
    for (;;) {
        std::size_t refuse = slots.size(), other = 0;
        for (std::size_t i = 0; i < slots.size(); ++i)
            for (std::size_t j = 0; j < slots.size(); ++j) {
                if (i == j || slots[i]->value != slots[j]->value || slots[i]->line == 0) continue;
                if (slots[j]->line > slots[i]->line) continue;
                if (refuse == slots.size() || slots[i]->line > slots[refuse]->line) {
                    refuse = i;
                    other = j;
                }
            }
        if (refuse == slots.size()) return;
        problems.push_back({slots[refuse]->line, "refused: that is already " + owner(other)});
        *slots[refuse] = {defaults[refuse], 0};
    }
}

}  // namespace

ReadControls readControls(std::string_view text)
{
    const IniText ini = readIni(text);
    ReadControls out;
    out.controls = defaultControls();
    const Controls defaults = out.controls;
    Controls& c = out.controls;
    std::vector<ControlsProblem>& problems = out.problems;
    for (const IniProblem& p : ini.problems) problems.push_back({p.line, faultText(p.fault)});

    Choice keys[2][kActionCount], pads[2][kActionCount], guids[2];
    for (int p = 0; p < 2; ++p)
        for (int a = 0; a < kActionCount; ++a) {
            keys[p][a] = {c.keys[p][a], 0};
            pads[p][a] = {c.padButtons[p][a], 0};
        }
    std::string guidText[2];
    for (const IniEntry& e : ini.entries) {
        auto m = meaningOf(e);
        if (!m) continue;
        if (!m->problem.empty()) {
            problems.push_back({e.line, m->problem});
            continue;
        }
        const auto pi = static_cast<std::size_t>(m->player - 1);
        const auto ai = static_cast<std::size_t>(m->action);
        switch (m->kind) {
        case Kind::Key: keys[pi][ai] = {m->value, e.line}; break;
        case Kind::PadButton: pads[pi][ai] = {m->value, e.line}; break;
        case Kind::PadGuid:
            guidText[pi] = m->guid;
            guids[pi].line = e.line;
            break;
        case Kind::DeadZone: c.deadZone = m->value; break;
        }
    }

    std::vector<Choice*> keySlots;
    std::vector<int> keyDefaults;
    for (int p = 0; p < 2; ++p)
        for (int a = 0; a < kActionCount; ++a) {
            keySlots.push_back(&keys[p][a]);
            keyDefaults.push_back(defaults.keys[static_cast<size_t>(p)][static_cast<size_t>(a)]);
        }
    auto slotOwner = [](std::size_t i) {
        return "player " + std::to_string(i / kActionCount + 1) + "'s " +
               std::string(actionName(kActions[i % kActionCount]));
    };
    refuseClashes(keySlots, keyDefaults, slotOwner, problems);
    for (int p = 0; p < 2; ++p) {
        std::vector<Choice*> slots;
        std::vector<int> padDefaults;
        for (int a = 0; a < kActionCount; ++a) {
            slots.push_back(&pads[p][a]);
            padDefaults.push_back(defaults.padButtons[static_cast<size_t>(p)][static_cast<size_t>(a)]);
        }
        refuseClashes(slots, padDefaults,
                      [&](std::size_t i) { return slotOwner(static_cast<std::size_t>(p) * kActionCount + i); },
                      problems);
    }
    // Both players naming one pad: the later entry is refused.
    if (guids[0].line && guids[1].line && !guidText[0].empty() && guidText[0] == guidText[1]) {
        const int later = guids[0].line > guids[1].line ? 0 : 1;
        problems.push_back({guids[later].line, "refused: that pad is already player " + std::to_string(2 - later) + "'s"});
        guidText[later].clear();
    }
    for (int p = 0; p < 2; ++p) {
        for (int a = 0; a < kActionCount; ++a) {
            c.keys[static_cast<size_t>(p)][static_cast<size_t>(a)] = keys[p][a].value;
            c.padButtons[static_cast<size_t>(p)][static_cast<size_t>(a)] = pads[p][a].value;
        }
        c.padGuid[static_cast<size_t>(p)] = guidText[p];
    }
    std::stable_sort(problems.begin(), problems.end(),
                     [](const ControlsProblem& a, const ControlsProblem& b) { return a.line < b.line; });
    return out;
}

std::filesystem::path defaultControlsPath()
{
    const std::filesystem::path folder = userConfigFolder();
    return folder.empty() ? folder : folder / "controls.ini";
}

}  // namespace ib
