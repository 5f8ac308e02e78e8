// What a bad line does to the datagrams going one way through the test
// relay: a one-way delay that may change over time (a queue: datagrams
// never overtake each other through it), jitter, loss at random and in
// bursts, blackouts, duplicates, datagrams held back past later ones,
// random corruption and bit flips at chosen places. Seeded: the same
// schedule, seed and datagrams give the same fates.
#pragma once

#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace ib::relay {

struct Schedule {
    // (ms since the first datagram, one-way delay in ms), in time order;
    // the delay is interpolated between them and held after the last.
    std::vector<std::pair<std::uint32_t, std::uint32_t>> delay;
    std::uint32_t jitterMs = 0;  // added, 0 to this many ms
    double loss = 0;
    std::uint32_t burstEveryMs = 0, burstMs = 0;  // everything lost in each burst
    std::vector<std::pair<std::uint32_t, std::uint32_t>> blackouts;  // (from ms, length ms)
    double duplicate = 0;
    double reorder = 0;
    std::uint32_t reorderMs = 0;  // how much longer a datagram held back waits
    double corrupt = 0;           // one bit flipped at random
    struct Flip {
        std::uint64_t datagram;  // counted from 1
        std::size_t byte;
        int bit;
    };
    std::vector<Flip> flips;

    // "key=value,key=value,...": delay=MS or delay=T:MS/T:MS/..., jitter=MS,
    // loss=P, burst=EVERY:LEN, blackout=AT:LEN, dup=P, reorder=P:MS,
    // corrupt=P, flip=N:BYTE:BIT; blackout and flip may repeat. Empty text
    // is a perfect line. Nothing, with `error` set, for anything else.
    static std::optional<Schedule> parse(std::string_view text, std::string& error);
    std::uint32_t delayAt(std::uint32_t ms) const;
};

struct Delivery {
    std::uint32_t due;  // ms since the first datagram
    std::vector<std::uint8_t> bytes;
};

struct ImpairStats {
    std::uint64_t in = 0, lost = 0, duplicated = 0, reordered = 0, corrupted = 0;
};

class Impairer {
public:
    Impairer(Schedule schedule, std::uint32_t seed);
    // The deliveries of a datagram sent at `ms`: none when it is lost.
    std::vector<Delivery> take(std::uint32_t ms, std::vector<std::uint8_t> bytes);
    const ImpairStats& stats() const { return stats_; }

private:
    bool chance(double p);
    Schedule schedule_;
    std::mt19937 dice_;
    std::uint32_t queueFree_ = 0;  // when the delay queue lets the next one out
    ImpairStats stats_;
};

}  // namespace ib::relay
