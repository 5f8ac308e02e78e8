// Buttons: the codes a Move's step lines are written with, and the ordered
// sets of them that steps and a fighter's held buttons are.
#pragma once

#include <bit>
#include <cstdint>
#include <initializer_list>
#include <vector>

namespace ib {

// Button codes held in ButtonSets and written as letters in Move files.
enum ButtonCode : int {
    Forward = 1,
    Back = 2,
    Up = 3,
    Down = 4,
    Block = 5,
    Attack = 6,
    Hit = 7,
    KnockOut = 8,
    // No key makes it: outside the quick fight a fighter off the ground
    // holds it, so a step written with it (the letter v) is made in the air.
    Air = 9,
    Wildcard = 10,
};

// An ordered set of button codes (1 to 31 can be held), walked ascending.
class ButtonSet {
public:
    ButtonSet() = default;
    ButtonSet(std::initializer_list<int> codes)
    {
        for (int c : codes) add(c);
    }
    void add(int code)
    {
        if (code >= 0 && code < 32) bits_ |= 1u << code;
    }
    void remove(int code)
    {
        if (code >= 0 && code < 32) bits_ &= ~(1u << code);
    }
    void clear() { bits_ = 0; }
    bool contains(int code) const { return code >= 0 && code < 32 && (bits_ >> code) & 1u; }
    int size() const { return std::popcount(bits_); }
    bool empty() const { return bits_ == 0; }
    std::uint32_t bits() const { return bits_; }
    std::vector<int> codes() const
    {
        std::vector<int> out;
        for (std::uint32_t b = bits_; b; b &= b - 1) out.push_back(std::countr_zero(b));
        return out;
    }
    friend bool operator==(const ButtonSet&, const ButtonSet&) = default;

private:
    std::uint32_t bits_ = 0;
};

}  // namespace ib
