#include "input/replay_file.h"

#include <charconv>
#include <cstdio>
#include <limits>
#include <ostream>
#include <sstream>

namespace ib {

namespace {

constexpr std::uint32_t kMaxU32 = std::numeric_limits<std::uint32_t>::max();
const char* const kMagic = "inkblot-replay";

std::vector<std::string_view> words(std::string_view line)
{
    std::vector<std::string_view> out;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
        const std::size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
        if (i > start) out.push_back(line.substr(start, i - start));
    }
    return out;
}

// A word of printable ASCII other than the blank: what a version or an
// argument may be written as.
bool printableWord(std::string_view w)
{
    for (char c : w)
        if (c <= ' ' || c > '~') return false;
    return !w.empty();
}

std::string quoted(std::string_view w)
{
    // Only the first 40 bytes, unprintable ones as '?', so a message stays short.
    std::string out = "\"";
    for (std::size_t i = 0; i < w.size() && i < 40; ++i) out += (w[i] < ' ' || w[i] > '~') ? '?' : w[i];
    if (w.size() > 40) out += "...";
    return out + "\"";
}

struct Parser {
    std::string_view text;
    std::size_t pos = 0;
    int lineNo = 0;
    std::string error;

    // The next line without its end; false at the end of the text.
    bool next(std::string_view& line)
    {
        if (pos >= text.size()) return false;
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        line = text.substr(pos, end - pos);
        pos = end + 1;
        ++lineNo;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.size() > kReplayMaxLine)
            return fail("the line is longer than " + std::to_string(kReplayMaxLine) + " characters");
        return true;
    }

    bool fail(const std::string& why)
    {
        if (error.empty()) error = "line " + std::to_string(lineNo) + ": " + why;
        return false;
    }

    bool number(std::string_view w, std::uint32_t& out)
    {
        auto [end, ec] = std::from_chars(w.data(), w.data() + w.size(), out);
        if (w.empty() || ec != std::errc() || end != w.data() + w.size())
            return fail(quoted(w) + " is not a number from 0 to 4294967295");
        return true;
    }

    bool hex64(std::string_view w, std::uint64_t& out)
    {
        auto [end, ec] = std::from_chars(w.data(), w.data() + w.size(), out, 16);
        if (w.size() != 16 || ec != std::errc() || end != w.data() + w.size())
            return fail(quoted(w) + " is not a hash of 16 hexadecimal digits");
        return true;
    }

    bool header(Replay& r);
    bool body(Replay& r);
    bool passes(Replay& r, const std::vector<std::string_view>& w);
};

bool Parser::header(Replay& r)
{
    const char* const kFields[] = {"game", "content", "args"};
    std::string_view line;
    if (!next(line)) {
        if (!error.empty()) return false;
        lineNo = 1;
        return fail("the file is empty, not a replay");
    }
    auto w = words(line);
    if (w.empty() || w[0] != kMagic) return fail("not an Inkblot Fighter replay");
    std::uint32_t format = 0;
    if (w.size() != 2 || !number(w[1], format)) return fail("the format version is missing");
    if (format != kReplayFormat)
        return fail("replay format " + std::to_string(format) + " is not one this game reads (it reads " +
                    std::to_string(kReplayFormat) + ")");
    for (const char* field : kFields) {
        if (!next(line)) {
            if (!error.empty()) return false;
            ++lineNo;
            return fail("the file ends inside its header, before \"" + std::string(field) + "\"");
        }
        w = words(line);
        if (w.empty() || w[0] != field) return fail("\"" + std::string(field) + "\" was expected here");
        if (w[0] == "game") {
            if (w.size() != 2 || !printableWord(w[1])) return fail("the game's version is not one word");
            r.header.gameVersion = w[1];
        } else if (w[0] == "content") {
            if (w.size() != 2) return fail("the content's fingerprint is not one word");
            if (!hex64(w[1], r.header.content)) return false;
        } else {
            if (w.size() - 1 > kReplayMaxArgs)
                return fail("more than " + std::to_string(kReplayMaxArgs) + " game arguments");
            for (std::size_t i = 1; i < w.size(); ++i) {
                if (!printableWord(w[i])) return fail("the argument " + quoted(w[i]) + " is not printable");
                r.header.args.emplace_back(w[i]);
            }
        }
    }
    return true;
}

bool Parser::passes(Replay& r, const std::vector<std::string_view>& w)
{
    if (w.size() < 2) return fail("a line of passes gives no pass");
    for (std::size_t i = 1; i < w.size(); ++i) {
        std::string_view token = w[i];
        ReplayPasses run{0, 1};
        const std::size_t star = token.find('*');
        if (!number(token.substr(0, star), run.delta)) return false;
        if (star != std::string_view::npos) {
            if (!number(token.substr(star + 1), run.count)) return false;
            if (run.count == 0) return fail("a run of 0 passes in " + quoted(token));
        }
        if (run.count > kMaxU32 - r.passes) return fail("more than 4294967295 passes");
        r.passes += run.count;
        // Runs of the same delta in a row are one run, so a replay has one
        // way of being held whatever its lines looked like.
        if (!r.items.empty())
            if (auto* last = std::get_if<ReplayPasses>(&r.items.back());
                last && last->delta == run.delta && last->count <= kMaxU32 - run.count) {
                last->count += run.count;
                continue;
            }
        r.items.emplace_back(run);
    }
    return true;
}

bool Parser::body(Replay& r)
{
    std::string_view line;
    while (next(line)) {
        const auto w = words(line);
        if (w.empty()) return fail("an empty line");
        if (w[0] == "m") {
            Message m;
            if (w.size() != 3) return fail("a message is \"m MESSAGE WPARAM\"");
            if (!number(w[1], m.message) || !number(w[2], m.wParam)) return false;
            r.items.emplace_back(m);
        } else if (w[0] == "p") {
            if (!passes(r, w)) return false;
        } else if (w[0] == "h" || w[0] == "c") {
            std::vector<ReplayHash>& list = w[0] == "h" ? r.hashes : r.contents;
            const std::string what = w[0] == "h" ? "hash" : "content fingerprint";
            ReplayHash h;
            if (w.size() != 3) return fail("a " + what + " is \"" + std::string(w[0]) + " PASS HASH\"");
            if (!number(w[1], h.pass) || !hex64(w[2], h.hash)) return false;
            if (h.pass != r.passes)
                return fail("the " + what + " is for pass " + std::to_string(h.pass) + ", but " +
                            std::to_string(r.passes) + " passes come before it");
            if (!list.empty() && list.back().pass == h.pass)
                return fail("a second " + what + " for pass " + std::to_string(h.pass));
            list.push_back(h);
        } else if (w[0] == "end") {
            std::uint32_t n = 0;
            if (w.size() != 2 || !number(w[1], n)) return fail("the end line is \"end PASSES\"");
            if (n != r.passes)
                return fail("the end line says " + std::to_string(n) + " passes, but the replay holds " +
                            std::to_string(r.passes));
            std::string_view rest;
            while (next(rest))
                if (!words(rest).empty()) return fail("nothing may follow the end line");
            return error.empty();
        } else {
            return fail("unknown line " + quoted(w[0]) + " (m, p, h, c or end)");
        }
    }
    if (!error.empty()) return false;
    ++lineNo;
    return fail("the file ends before its end line: it was cut short");
}

}  // namespace

ReplayRead parseReplay(std::string_view text)
{
    ReplayRead out;
    Parser p;
    p.text = text;
    if (text.size() > kReplayMaxBytes) {
        out.error = "line 1: the file is larger than " + std::to_string(kReplayMaxBytes >> 20) + " MB";
        return out;
    }
    if (!p.header(out.replay) || !p.body(out.replay)) {
        out.error = p.error;
        out.replay = Replay{};
    }
    return out;
}

void ReplayWriter::header(const ReplayHeader& h)
{
    char content[17];
    std::snprintf(content, sizeof content, "%016llx", static_cast<unsigned long long>(h.content));
    out_ << kMagic << ' ' << kReplayFormat << "\ngame " << h.gameVersion << "\ncontent " << content
         << "\nargs";
    for (const std::string& a : h.args) out_ << ' ' << a;
    out_ << '\n';
}

void ReplayWriter::message(const Message& m)
{
    flushPasses();
    out_ << "m " << m.message << ' ' << m.wParam << '\n';
}

void ReplayWriter::passes(std::uint32_t delta, std::uint32_t count)
{
    if (count == 0) return;
    if (!line_.empty() && line_.back().delta == delta && line_.back().count <= kMaxU32 - count) {
        line_.back().count += count;
        return;
    }
    // Lines stay far below the reader's limit.
    if (line_.size() >= 64) flushPasses();
    line_.push_back({delta, count});
}

void ReplayWriter::flushPasses()
{
    if (line_.empty()) return;
    out_ << 'p';
    for (const ReplayPasses& run : line_) {
        out_ << ' ' << run.delta;
        if (run.count > 1) out_ << '*' << run.count;
    }
    out_ << '\n';
    line_.clear();
}

void ReplayWriter::mark(char kind, std::uint32_t pass, std::uint64_t value)
{
    flushPasses();
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(value));
    out_ << kind << ' ' << pass << ' ' << hex << '\n';
    out_.flush();
}

void ReplayWriter::end(std::uint32_t passes)
{
    flushPasses();
    out_ << "end " << passes << '\n';
    out_.flush();
}

std::string formatReplay(const Replay& replay)
{
    std::ostringstream out;
    ReplayWriter w(out);
    w.header(replay.header);
    std::size_t h = 0, c = 0;
    std::uint32_t done = 0;
    auto hashesHere = [&] {
        for (; c < replay.contents.size() && replay.contents[c].pass == done; ++c)
            w.content(done, replay.contents[c].hash);
        for (; h < replay.hashes.size() && replay.hashes[h].pass == done; ++h) w.hash(done, replay.hashes[h].hash);
    };
    hashesHere();
    for (const ReplayItem& item : replay.items) {
        if (const auto* m = std::get_if<Message>(&item)) {
            w.message(*m);
            continue;
        }
        const auto& run = std::get<ReplayPasses>(item);
        std::uint32_t left = run.count;
        while (left > 0) {
            std::uint32_t step = left;
            if (h < replay.hashes.size() && replay.hashes[h].pass > done)
                step = std::min(step, replay.hashes[h].pass - done);
            if (c < replay.contents.size() && replay.contents[c].pass > done)
                step = std::min(step, replay.contents[c].pass - done);
            w.passes(run.delta, step);
            done += step;
            left -= step;
            hashesHere();
        }
    }
    w.end(replay.passes);
    return out.str();
}

bool ReplayCursor::messageNext() const
{
    return !atEnd() && std::holds_alternative<Message>(replay_.items[item_]);
}

Message ReplayCursor::takeMessage() { return std::get<Message>(replay_.items[item_++]); }

std::uint32_t ReplayCursor::takePass()
{
    const auto& run = std::get<ReplayPasses>(replay_.items[item_]);
    clock_ += run.delta;
    ++passes_;
    if (++usedOfRun_ == run.count) {
        usedOfRun_ = 0;
        ++item_;
    }
    return clock_;
}

}  // namespace ib
