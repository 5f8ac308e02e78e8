// SDL's name tables, read without starting SDL: the game and the headless
// runner share them with the SDL backend.
#include "platform/input_names.h"

#include <SDL_gamecontroller.h>
#include <SDL_keyboard.h>

#include <string>

namespace ib {

namespace {

static_assert(kPadA == SDL_CONTROLLER_BUTTON_A && kPadDpadRight == SDL_CONTROLLER_BUTTON_DPAD_RIGHT &&
              kPadButtonCount == SDL_CONTROLLER_BUTTON_MAX);
static_assert(kPadLeftX == SDL_CONTROLLER_AXIS_LEFTX && kPadAxisCount == SDL_CONTROLLER_AXIS_MAX);

// The first key position that gives the code: the main board before the
// keypad (Return before keypad Enter).
int scancodeOf(int virtualKey)
{
    if (virtualKey <= 0 || virtualKey == kVirtualKeyOther) return SDL_SCANCODE_UNKNOWN;
    for (int sc = 1; sc < SDL_NUM_SCANCODES; ++sc)
        if (virtualKeyFromScancode(sc) == virtualKey) return sc;
    return SDL_SCANCODE_UNKNOWN;
}

std::optional<int> codeOf(SDL_Scancode sc)
{
    if (sc == SDL_SCANCODE_UNKNOWN) return std::nullopt;
    const int vk = virtualKeyFromScancode(sc);
    if (vk == kVirtualKeyOther) return std::nullopt;
    return vk;
}

}  // namespace

std::optional<int> virtualKeyFromKeyName(std::string_view name)
{
    if (name.empty()) return std::nullopt;
    const std::string n(name);
    if (auto vk = codeOf(SDL_GetScancodeFromName(n.c_str()))) return vk;
    return codeOf(SDL_GetScancodeFromKey(SDL_GetKeyFromName(n.c_str())));
}

std::string keyNameOf(int virtualKey)
{
    const int sc = scancodeOf(virtualKey);
    return sc == SDL_SCANCODE_UNKNOWN ? std::string() : SDL_GetScancodeName(static_cast<SDL_Scancode>(sc));
}

std::string keyLabel(int virtualKey)
{
    const int sc = scancodeOf(virtualKey);
    if (sc == SDL_SCANCODE_UNKNOWN) return std::string();
    // Without a keyboard (no video, no window) SDL knows no layout.
    const char* name = SDL_GetKeyName(SDL_GetKeyFromScancode(static_cast<SDL_Scancode>(sc)));
    if (name && *name) return name;
    return keyNameOf(virtualKey);
}

std::optional<int> padButtonFromName(std::string_view name)
{
    const std::string n(name);
    const SDL_GameControllerButton b = SDL_GameControllerGetButtonFromString(n.c_str());
    if (b == SDL_CONTROLLER_BUTTON_INVALID) return std::nullopt;
    return static_cast<int>(b);
}

std::string padButtonName(int button)
{
    if (button < 0 || button >= kPadButtonCount) return std::string();
    const char* s = SDL_GameControllerGetStringForButton(static_cast<SDL_GameControllerButton>(button));
    return s ? s : "";
}

std::optional<int> padAxisFromName(std::string_view name)
{
    const std::string n(name);
    const SDL_GameControllerAxis a = SDL_GameControllerGetAxisFromString(n.c_str());
    if (a == SDL_CONTROLLER_AXIS_INVALID) return std::nullopt;
    return static_cast<int>(a);
}

}  // namespace ib
