// A small deterministic random generator (SplitMix64): the same seed gives
// the same numbers on every build, so the drawn content never changes by
// itself.
#pragma once

#include <cstdint>
#include <string_view>

namespace contentgen {

class Prng {
public:
    explicit Prng(std::uint64_t seed) : state_(seed) {}

    std::uint64_t next()
    {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // A whole number from lo to hi, both included.
    int range(int lo, int hi)
    {
        if (hi <= lo) return lo;
        return lo + static_cast<int>(next() % static_cast<std::uint64_t>(hi - lo + 1));
    }
    // A number in [0, 1).
    double unit() { return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0); }
    double between(double lo, double hi) { return lo + (hi - lo) * unit(); }

private:
    std::uint64_t state_;
};

// A seed made from a name (FNV-1a), so that every picture has its own
// stable sequence.
inline std::uint64_t seedFrom(std::string_view name, std::uint64_t salt = 0)
{
    std::uint64_t h = 1469598103934665603ull ^ salt;
    for (unsigned char c : name) {
        h ^= c;
        h *= 1099511628211ull;
    }
    return h;
}

}  // namespace contentgen
