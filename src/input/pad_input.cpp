#include "input/pad_input.h"

#include "fight/step_input.h"

namespace ib {

namespace {

constexpr std::size_t index(PlayerButton b) { return static_cast<std::size_t>(b); }

// What the pad asks its player's fighter to hold.
std::array<bool, 6> wanted(const Controls& c, const PadInput& pad)
{
    std::array<bool, 6> w{};
    if (!pad.connected || pad.player == 0) return w;
    for (Action a : kActions) {
        const int button = c.padButtons[static_cast<std::size_t>(pad.player - 1)][static_cast<std::size_t>(a)];
        if (button >= 0 && button < kPadButtonCount && pad.buttons[static_cast<std::size_t>(button)])
            w[index(screenButton(pad.player, a))] = true;
    }
    // The stick's y grows downwards.
    if (pad.stickX < -c.deadZone) w[index(PlayerButton::Left)] = true;
    if (pad.stickX > c.deadZone) w[index(PlayerButton::Right)] = true;
    if (pad.stickY < -c.deadZone) w[index(PlayerButton::Up)] = true;
    if (pad.stickY > c.deadZone) w[index(PlayerButton::Down)] = true;
    for (auto [one, other] : {std::pair{PlayerButton::Left, PlayerButton::Right},
                              std::pair{PlayerButton::Up, PlayerButton::Down}})
        if (w[index(one)] && w[index(other)]) w[index(one)] = w[index(other)] = false;
    return w;
}

// Presses and releases on the fighter what changed, releases first.
void update(const PadTarget& to, PadInput& pad)
{
    const std::array<bool, 6> w = wanted(to.controls, pad);
    // With no fight to hold them (the splash screen), the buttons wait:
    // the first update in a fight presses all the pad holds.
    if (!to.step || (pad.player != 1 && pad.player != 2) || !(to.players & (1u << (pad.player - 1)))) return;
    for (bool press : {false, true})
        for (std::size_t b = 0; b < w.size(); ++b) {
            if (w[b] == pad.held[b] || w[b] != press) continue;
            pad.held[b] = w[b];
            if (press) to.step->press(pad.player, static_cast<PlayerButton>(b));
            else to.step->release(pad.player, static_cast<PlayerButton>(b));
        }
}

}  // namespace

int padAdded(PadInputs& in, int pad, int wantedPlayer)
{
    PadInput& p = in[pad];
    if (p.connected) return p.player;
    p.connected = true;
    if (p.player == 0 && (wantedPlayer == 1 || wantedPlayer == 2)) p.player = wantedPlayer;
    for (int player = 1; player <= 2 && p.player == 0; ++player) {
        bool taken = false;
        for (const auto& [n, other] : in) taken = taken || (n != pad && other.connected && other.player == player);
        if (!taken) p.player = player;
    }
    return p.player;
}

int padRemoved(PadInputs& in, const PadTarget& to, int pad)
{
    auto it = in.find(pad);
    if (it == in.end() || !it->second.connected) return 0;
    PadInput& p = it->second;
    p.buttons = {};
    p.stickX = p.stickY = 0;
    update(to, p);
    p.connected = false;
    return p.player;
}

void padButton(PadInputs& in, const PadTarget& to, int pad, int button, bool down)
{
    auto it = in.find(pad);
    if (it == in.end() || !it->second.connected || button < 0 || button >= kPadButtonCount) return;
    it->second.buttons[static_cast<std::size_t>(button)] = down;
    update(to, it->second);
}

void padAxis(PadInputs& in, const PadTarget& to, int pad, int axis, int value)
{
    auto it = in.find(pad);
    if (it == in.end() || !it->second.connected) return;
    if (axis == kPadLeftX) it->second.stickX = value;
    else if (axis == kPadLeftY) it->second.stickY = value;
    else return;
    update(to, it->second);
}

}  // namespace ib
