#include "sim/script.h"

#include <charconv>
#include <cstdint>
#include <string>

#include "input/key_bindings.h"
#include "platform/input_names.h"

namespace ib::sim {

namespace {

std::vector<std::string_view> words(std::string_view line)
{
    std::vector<std::string_view> out;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
        size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
        if (i > start) out.push_back(line.substr(start, i - start));
    }
    return out;
}

template <class T>
std::optional<T> number(std::string_view s)
{
    T value{};
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
    return value;
}

}  // namespace

std::optional<int> keyCode(std::string_view name) { return keyFromName(name); }

ScriptResult parseScript(std::string_view text)
{
    ScriptResult result;
    int lineNo = 0;
    size_t pos = 0;
    std::uint32_t latest = 0;  // the latest time of the events so far
    int latestLine = 0;
    while (pos <= text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        ++lineNo;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (size_t hash = line.find('#'); hash != std::string_view::npos) line = line.substr(0, hash);
        auto w = words(line);
        if (w.empty()) {
            if (end == text.size()) break;
            continue;
        }
        auto fail = [&](const std::string& why) {
            result.error = "line " + std::to_string(lineNo) + ": " + why;
            result.events.clear();
            return result;
        };
        auto time = number<std::uint32_t>(w[0]);
        if (!time) return fail("the time \"" + std::string(w[0]) + "\" is not a number of milliseconds");
        if (w.size() < 2) return fail("an event is missing after the time");
        ScriptEvent e;
        e.time = *time;
        std::string_view what = w[1];
        size_t wantWords = 2;
        using K = ScriptEvent::Kind;
        if (what == "down" || what == "up") {
            e.kind = what == "down" ? K::KeyDown : K::KeyUp;
            if (w.size() < 3) return fail("a key is missing after \"" + std::string(what) + "\"");
            auto key = keyCode(w[2]);
            if (!key) return fail("unknown key \"" + std::string(w[2]) + "\"");
            e.value = *key;
            wantWords = 3;
        } else if (what == "minimize") {
            e.kind = K::Minimize;
        } else if (what == "restore") {
            e.kind = K::Restore;
        } else if (what == "close") {
            e.kind = K::Close;
        } else if (what == "lose-surfaces") {
            e.kind = K::LoseSurfaces;
        } else if (what == "still-drawing") {
            e.kind = K::StillDrawing;
            if (w.size() < 3) return fail("a count is missing after \"still-drawing\"");
            auto n = number<int>(w[2]);
            if (!n || *n < 0 || *n > 1000000)
                return fail("the count \"" + std::string(w[2]) + "\" is not a number from 0 to 1000000");
            e.value = *n;
            wantWords = 3;
        } else if (what == "pad-added" || what == "pad-removed" || what == "pad") {
            if (w.size() < 3) return fail("a pad number is missing after \"" + std::string(what) + "\"");
            auto pad = number<int>(w[2]);
            if (!pad || *pad < 1 || *pad > kMaxPads)
                return fail("the pad \"" + std::string(w[2]) + "\" is not a number from 1 to 255");
            wantWords = 3;
            if (what == "pad-added") {
                e.kind = K::PadAdded;
                e.value = static_cast<int>(padParam(*pad));
            } else if (what == "pad-removed") {
                e.kind = K::PadRemoved;
                e.value = static_cast<int>(padParam(*pad));
            } else {
                const std::string_view how = w.size() > 3 ? w[3] : std::string_view();
                if (how == "down" || how == "up") {
                    if (w.size() < 5) return fail("a pad button is missing after \"" + std::string(how) + "\"");
                    auto button = padButtonFromName(w[4]);
                    if (!button) return fail("unknown pad button \"" + std::string(w[4]) + "\"");
                    e.kind = how == "down" ? K::PadDown : K::PadUp;
                    e.value = static_cast<int>(padParam(*pad, *button));
                    wantWords = 5;
                } else if (how == "axis") {
                    if (w.size() < 6) return fail("an axis and a value must follow \"axis\"");
                    auto axis = padAxisFromName(w[4]);
                    if (!axis) return fail("unknown pad axis \"" + std::string(w[4]) + "\"");
                    auto v = number<int>(w[5]);
                    if (!v || *v < -32768 || *v > 32767)
                        return fail("the axis value \"" + std::string(w[5]) + "\" is not from -32768 to 32767");
                    e.kind = K::PadAxis;
                    e.value = static_cast<int>(padParam(*pad, *axis, *v));
                    wantWords = 6;
                } else {
                    return fail("\"down\", \"up\" or \"axis\" must follow the pad's number");
                }
            }
        } else {
            return fail("unknown event \"" + std::string(what) + "\"");
        }
        if (w.size() > wantWords) return fail("unexpected \"" + std::string(w[wantWords]) + "\"");
        if (!result.events.empty() && e.time < latest) {
            const std::string late = std::to_string(latest) + " ms";
            result.warnings.push_back("line " + std::to_string(lineNo) + ": " +
                                      std::to_string(e.time) + " ms is before " + late + " on line " +
                                      std::to_string(latestLine) +
                                      "; events are taken in file order, so it comes at " + late +
                                      " or later");
        } else {
            latest = e.time;
            latestLine = lineNo;
        }
        result.events.push_back(e);
        if (end == text.size()) break;
    }
    return result;
}

}  // namespace ib::sim
