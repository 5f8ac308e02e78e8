// A replay: what the machine gave the game in a session, pass by pass, as
// a line-oriented text file (docs/replays.md). The header names the
// format, the game's version, the content's fingerprint and the game's
// arguments; the body gives every message the game took from the machine,
// the clock reading of every pass, and the fight's hash now and then, so
// that a playback can tell where it stopped being the same fight.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/platform.h"

namespace ib {

constexpr std::uint32_t kReplayFormat = 1;
// Limits of what a replay may hold; a file past them is refused.
constexpr std::size_t kReplayMaxBytes = 16u << 20;
constexpr std::size_t kReplayMaxLine = 4096;
constexpr std::size_t kReplayMaxArgs = 16;

struct ReplayHeader {
    std::string gameVersion;
    std::uint64_t content = 0;      // the content's fingerprint
    std::vector<std::string> args;  // the game's arguments, such as slow
    friend bool operator==(const ReplayHeader&, const ReplayHeader&) = default;
};

// `count` passes in a row with no message before any but the first, each
// reading the clock `delta` ms after the pass before it (the first pass of
// a replay counts from 0). Deltas wrap as the clock does.
struct ReplayPasses {
    std::uint32_t delta = 0;
    std::uint32_t count = 0;
    friend bool operator==(const ReplayPasses&, const ReplayPasses&) = default;
};

// A message the game took from the machine before the next pass.
using ReplayItem = std::variant<Message, ReplayPasses>;

// The fight's hash after a pass (passes counted from 1; 0 is before any).
struct ReplayHash {
    std::uint32_t pass = 0;
    std::uint64_t hash = 0;
    friend bool operator==(const ReplayHash&, const ReplayHash&) = default;
};

struct Replay {
    ReplayHeader header;
    std::vector<ReplayItem> items;   // in the order the game took them
    std::vector<ReplayHash> hashes;  // by pass, ascending
    // The content's fingerprint after a pass that loaded fighters or stages
    // (the select screen's), by pass, ascending.
    std::vector<ReplayHash> contents;
    std::uint32_t passes = 0;        // passes in all
    friend bool operator==(const Replay&, const Replay&) = default;
};

struct ReplayRead {
    Replay replay;
    // "line N: what is wrong" for the first fault, else empty.
    std::string error;
};

// Reads a replay's text; nothing in it can make this allocate more than a
// small multiple of its size, which is capped at kReplayMaxBytes.
ReplayRead parseReplay(std::string_view text);

// Writes a replay as it is made. Passes in a row with the same delta are
// written as one run; a line of passes ends at a message or a hash.
class ReplayWriter {
public:
    explicit ReplayWriter(std::ostream& out) : out_(out) {}
    void header(const ReplayHeader& h);
    void message(const Message& m);
    void passes(std::uint32_t delta, std::uint32_t count = 1);
    void hash(std::uint32_t pass, std::uint64_t hash) { mark('h', pass, hash); }
    void content(std::uint32_t pass, std::uint64_t fingerprint) { mark('c', pass, fingerprint); }
    // The last line; flushes the stream.
    void end(std::uint32_t passes);

private:
    void flushPasses();
    void mark(char kind, std::uint32_t pass, std::uint64_t value);
    std::ostream& out_;
    std::vector<ReplayPasses> line_;  // the runs of the line being made
};

// The whole replay as text, each hash after the pass it is for.
std::string formatReplay(const Replay& replay);

// Walks a replay's items without spreading its runs out: the next message,
// or the next pass with its clock reading.
class ReplayCursor {
public:
    explicit ReplayCursor(const Replay& replay) : replay_(replay) {}
    bool atEnd() const { return item_ >= replay_.items.size(); }
    bool messageNext() const;
    // Call only when messageNext() said yes.
    Message takeMessage();
    // Moves on to the next pass (call only when neither atEnd nor
    // messageNext); returns its clock reading.
    std::uint32_t takePass();
    // The next pass's reading less the one before (when a pass is next).
    std::uint32_t nextDelta() const { return std::get<ReplayPasses>(replay_.items[item_]).delta; }
    std::uint32_t passesTaken() const { return passes_; }
    std::uint32_t clock() const { return clock_; }

private:
    const Replay& replay_;
    std::size_t item_ = 0;
    std::uint32_t usedOfRun_ = 0;
    std::uint32_t passes_ = 0;
    std::uint32_t clock_ = 0;
};

}  // namespace ib
