#include "relay/impairment.h"

#include <algorithm>
#include <charconv>

namespace ib::relay {

namespace {

template <class T>
bool number(std::string_view text, T& out)
{
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
    return ec == std::errc() && end == text.data() + text.size();
}

bool fraction(std::string_view text, double& out)
{
    return number(text, out) && out >= 0 && out <= 1;
}

std::vector<std::string_view> split(std::string_view text, char by)
{
    std::vector<std::string_view> parts;
    for (std::size_t from = 0;;) {
        const std::size_t at = text.find(by, from);
        parts.push_back(text.substr(from, at == std::string_view::npos ? std::string_view::npos : at - from));
        if (at == std::string_view::npos) return parts;
        from = at + 1;
    }
}

bool pair(std::string_view text, std::uint32_t& a, std::uint32_t& b)
{
    const auto p = split(text, ':');
    return p.size() == 2 && number(p[0], a) && number(p[1], b);
}

bool parseItem(std::string_view key, std::string_view v, Schedule& s)
{
    std::uint32_t a = 0, b = 0;
    if (key == "delay") {
        s.delay.clear();
        if (number(v, a)) {
            s.delay.push_back({0, a});
            return true;
        }
        for (std::string_view point : split(v, '/')) {
            if (!pair(point, a, b) || (!s.delay.empty() && a < s.delay.back().first)) return false;
            s.delay.push_back({a, b});
        }
        return true;
    }
    if (key == "jitter") return number(v, s.jitterMs);
    if (key == "loss") return fraction(v, s.loss);
    if (key == "dup") return fraction(v, s.duplicate);
    if (key == "corrupt") return fraction(v, s.corrupt);
    if (key == "burst") return pair(v, s.burstEveryMs, s.burstMs) && s.burstEveryMs > 0;
    if (key == "blackout") {
        if (!pair(v, a, b)) return false;
        s.blackouts.push_back({a, b});
        return true;
    }
    if (key == "reorder") {
        const auto p = split(v, ':');
        return p.size() == 2 && fraction(p[0], s.reorder) && number(p[1], s.reorderMs);
    }
    if (key == "flip") {
        const auto p = split(v, ':');
        Schedule::Flip f{};
        if (p.size() != 3 || !number(p[0], f.datagram) || !number(p[1], f.byte) || !number(p[2], f.bit) ||
            f.datagram == 0 || f.bit < 0 || f.bit > 7)
            return false;
        s.flips.push_back(f);
        return true;
    }
    return false;
}

}  // namespace

std::optional<Schedule> Schedule::parse(std::string_view text, std::string& error)
{
    Schedule s;
    if (text.empty()) return s;
    for (std::string_view item : split(text, ',')) {
        const std::size_t eq = item.find('=');
        if (eq == std::string_view::npos || !parseItem(item.substr(0, eq), item.substr(eq + 1), s)) {
            error = "cannot read \"" + std::string(item) + "\"";
            return std::nullopt;
        }
    }
    return s;
}

std::uint32_t Schedule::delayAt(std::uint32_t ms) const
{
    if (delay.empty()) return 0;
    if (ms <= delay.front().first) return delay.front().second;
    for (std::size_t i = 1; i < delay.size(); ++i) {
        const auto [t0, d0] = delay[i - 1];
        const auto [t1, d1] = delay[i];
        if (ms > t1) continue;
        if (t1 == t0) return d1;
        const double f = static_cast<double>(ms - t0) / (t1 - t0);
        return static_cast<std::uint32_t>(d0 + f * (static_cast<double>(d1) - d0) + 0.5);
    }
    return delay.back().second;
}

Impairer::Impairer(Schedule schedule, std::uint32_t seed) : schedule_(std::move(schedule)), dice_(seed) {}

bool Impairer::chance(double p)
{
    return p > 0 && std::uniform_real_distribution<double>(0.0, 1.0)(dice_) < p;
}

std::vector<Delivery> Impairer::take(std::uint32_t ms, std::vector<std::uint8_t> bytes)
{
    const std::uint64_t n = ++stats_.in;
    const Schedule& s = schedule_;
    bool lost = chance(s.loss);
    if (s.burstEveryMs && ms >= s.burstEveryMs && ms % s.burstEveryMs < s.burstMs) lost = true;
    for (const auto& [from, length] : s.blackouts)
        if (ms >= from && ms - from < length) lost = true;
    if (lost) {
        ++stats_.lost;
        return {};
    }
    for (const Schedule::Flip& f : s.flips)
        if (f.datagram == n && f.byte < bytes.size()) bytes[f.byte] ^= static_cast<std::uint8_t>(1u << f.bit);
    if (!bytes.empty() && chance(s.corrupt)) {
        const std::size_t bit = std::uniform_int_distribution<std::size_t>(0, bytes.size() * 8 - 1)(dice_);
        bytes[bit / 8] ^= static_cast<std::uint8_t>(1u << (bit % 8));
        ++stats_.corrupted;
    }
    // The queue: a datagram leaves no earlier than the one before it.
    std::uint32_t due = std::max(ms + s.delayAt(ms), queueFree_);
    queueFree_ = due;
    if (s.jitterMs) due += std::uniform_int_distribution<std::uint32_t>(0, s.jitterMs)(dice_);
    if (chance(s.reorder)) {
        due += s.reorderMs;
        ++stats_.reordered;
    }
    std::vector<Delivery> out{{due, bytes}};
    if (chance(s.duplicate)) {
        out.push_back({due + 1, std::move(bytes)});
        ++stats_.duplicated;
    }
    return out;
}

}  // namespace ib::relay
