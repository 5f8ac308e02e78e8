// Names of keys and pad buttons as players and files write them, and the
// codes the game's messages carry. The names are SDL's own (the game's
// config file uses them), but nothing here needs SDL's headers: game code
// calls these plain functions.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ib {

// The code every key without a virtual-key code of its own is given; the
// fight's key map leaves it alone.
constexpr int kVirtualKeyOther = 0xFF;

// The virtual-key code of an SDL scancode (a physical key position). Every
// scancode has one, so every key press reaches the game.
int virtualKeyFromScancode(int scancode);

// The virtual-key code of a key named as SDL names keys ("X", "Left",
// "Keypad 5", "/"); first as a key position, then as the key a US layout
// puts there. Nothing for a name SDL does not know or a key with no code
// of its own.
std::optional<int> virtualKeyFromKeyName(std::string_view name);
// The name virtualKeyFromKeyName reads back as this key's code: SDL's name
// of its key position. Empty for a code no key gives.
std::string keyNameOf(int virtualKey);
// What the key is called on the player's keyboard layout ("Z" on a German
// board for the key a US board calls "Y"); keyNameOf when the layout is not
// known.
std::string keyLabel(int virtualKey);

// Pad buttons and axes: the game controller's codes ("a", "dpleft").
constexpr int
    kPadA = 0, kPadB = 1, kPadX = 2, kPadY = 3, kPadBack = 4, kPadGuide = 5, kPadStart = 6,
    kPadLeftStick = 7, kPadRightStick = 8, kPadLeftShoulder = 9, kPadRightShoulder = 10,
    kPadDpadUp = 11, kPadDpadDown = 12, kPadDpadLeft = 13, kPadDpadRight = 14,
    kPadButtonCount = 21;
constexpr int
    kPadLeftX = 0, kPadLeftY = 1, kPadRightX = 2, kPadRightY = 3, kPadTriggerLeft = 4,
    kPadTriggerRight = 5, kPadAxisCount = 6;

std::optional<int> padButtonFromName(std::string_view name);
// Empty for a code with no button.
std::string padButtonName(int button);
std::optional<int> padAxisFromName(std::string_view name);

}  // namespace ib
