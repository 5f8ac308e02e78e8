// The bytes of the game's packets: little-endian numbers and texts with
// their length in front, read back with every length checked.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace ib::net {

class Writer {
public:
    void u8(std::uint8_t v) { out.push_back(v); }
    void u32(std::uint32_t v)
    {
        for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }
    void u64(std::uint64_t v)
    {
        for (int i = 0; i < 8; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }
    void u16(std::uint16_t v)
    {
        out.push_back(static_cast<std::uint8_t>(v));
        out.push_back(static_cast<std::uint8_t>(v >> 8));
    }
    // Texts up to 255 bytes have a one-byte length, longer ones two.
    void text(const std::string& s, std::size_t max)
    {
        const std::size_t n = s.size() < max ? s.size() : max;
        if (max > 255)
            u16(static_cast<std::uint16_t>(n));
        else
            u8(static_cast<std::uint8_t>(n));
        out.insert(out.end(), s.begin(), s.begin() + static_cast<std::ptrdiff_t>(n));
    }
    std::vector<std::uint8_t> out;
};

class Reader {
public:
    explicit Reader(std::span<const std::uint8_t> b) : bytes_(b) {}
    bool u8(std::uint8_t& v)
    {
        if (at_ >= bytes_.size()) return false;
        v = bytes_[at_++];
        return true;
    }
    bool u32(std::uint32_t& v)
    {
        if (bytes_.size() - at_ < 4) return false;
        v = 0;
        for (int i = 0; i < 4; ++i) v |= static_cast<std::uint32_t>(bytes_[at_++]) << (8 * i);
        return true;
    }
    bool u64(std::uint64_t& v)
    {
        if (bytes_.size() - at_ < 8) return false;
        v = 0;
        for (int i = 0; i < 8; ++i) v |= static_cast<std::uint64_t>(bytes_[at_++]) << (8 * i);
        return true;
    }
    bool text(std::string& s, std::size_t max)
    {
        std::size_t n = 0;
        std::uint8_t lo = 0, hi = 0;
        if (!u8(lo)) return false;
        n = lo;
        if (max > 255) {
            if (!u8(hi)) return false;
            n |= static_cast<std::size_t>(hi) << 8;
        }
        if (n > max || bytes_.size() - at_ < n) return false;
        s.assign(reinterpret_cast<const char*>(bytes_.data() + at_), n);
        at_ += n;
        return true;
    }
    bool done() const { return at_ == bytes_.size(); }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t at_ = 0;
};

}  // namespace ib::net
