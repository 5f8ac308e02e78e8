// The SDL backend's pads, with SDL's dummy video driver and a virtual game
// controller: what the backend makes of a pad plugged in, pressed, moved,
// pulled out and plugged in again.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/sdl_platform.h"

namespace ib::test {
namespace {

std::vector<Message> drain(SdlPlatform& p)
{
    std::vector<Message> out;
    // Virtual pads report on SDL's next update; a few rounds are plenty.
    for (int i = 0; i < 5; ++i) {
        SDL_Delay(2);
        while (p.peekMessage()) out.push_back(p.getMessage());
    }
    return out;
}

int attachPad()
{
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    desc.button_mask = (1u << SDL_CONTROLLER_BUTTON_MAX) - 1;
    desc.axis_mask = (1u << SDL_CONTROLLER_AXIS_MAX) - 1;
    desc.name = "Test pad";
    return SDL_JoystickAttachVirtualEx(&desc);
}

TEST(SdlPads, AVirtualPadsLifeIsSentAsPadMessages)
{
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    // The dummy window never has the focus, which would hide pad events.
    setenv("SDL_JOYSTICK_ALLOW_BACKGROUND_EVENTS", "1", 1);
    SdlPlatform sdl;
    ASSERT_TRUE(sdl.createWindow("pads"));
    drain(sdl);

    int index = attachPad();
    ASSERT_GE(index, 0) << SDL_GetError();
    char guid[33];
    SDL_JoystickGetGUIDString(SDL_JoystickGetDeviceGUID(index), guid, sizeof guid);
    // The controls file gives this pad to player 2.
    sdl.setPadSetup(PadSetup{"", {"", guid}});
    std::vector<Message> got = drain(sdl);
    SDL_Joystick* stick = SDL_JoystickOpen(index);
    ASSERT_NE(stick, nullptr);
    EXPECT_EQ(sdl.padName(1), "Test pad");
    SDL_JoystickSetVirtualButton(stick, SDL_CONTROLLER_BUTTON_A, 1);
    SDL_JoystickSetVirtualAxis(stick, SDL_CONTROLLER_AXIS_LEFTX, -20000);
    for (const Message& m : drain(sdl)) got.push_back(m);
    SDL_JoystickClose(stick);
    SDL_JoystickDetachVirtual(index);
    for (const Message& m : drain(sdl)) got.push_back(m);
    index = attachPad();
    for (const Message& m : drain(sdl)) got.push_back(m);

    // SDL sends the axis before the button, and lets go of the button as
    // the pad goes; repeated motion is left out.
    std::vector<Message> pads;
    for (const Message& m : got)
        if (m.message >= WM_PADADDED && m.message <= WM_PADAXIS && (m.message != WM_PADAXIS || padValue(m.wParam) != 0) &&
            (pads.empty() || !(pads.back() == m)))
            pads.push_back(m);
    const std::vector<Message> want = {{WM_PADADDED, padParam(1, 2)},
                                       {WM_PADAXIS, padParam(1, kPadLeftX, -20000)},
                                       {WM_PADBUTTONDOWN, padParam(1, kPadA)},
                                       {WM_PADBUTTONUP, padParam(1, kPadA)},
                                       {WM_PADREMOVED, padParam(1)},
                                       {WM_PADADDED, padParam(1, 2)}};
    EXPECT_EQ(pads, want);
    SDL_JoystickDetachVirtual(index);
    // What the game makes of these messages is Pads.* (pad_input_test).
}

}  // namespace
}  // namespace ib::test
