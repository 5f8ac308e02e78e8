// The SDL backend's key mapping: every key leaves the splash screen, and no
// key but the players' own, Escape and F12 means anything in the fight.
#include <SDL_scancode.h>
#include <gtest/gtest.h>

#include <map>

#include "platform/sdl_platform.h"
#include "support/fixtures.h"
#include "support/tiny_game.h"

namespace ib::test {
namespace {

TEST(SdlKeys, AKeyOfEveryGroupLeavesTheSplashAndPressesNoButton)
{
    const std::pair<const char*, SDL_Scancode> keys[] = {
        {"Insert", SDL_SCANCODE_INSERT},     {"Home", SDL_SCANCODE_HOME},
        {"End", SDL_SCANCODE_END},           {"Delete", SDL_SCANCODE_DELETE},
        {"Page Up", SDL_SCANCODE_PAGEUP},    {"Page Down", SDL_SCANCODE_PAGEDOWN},
        {"Caps Lock", SDL_SCANCODE_CAPSLOCK}, {"keypad 5", SDL_SCANCODE_KP_5},
        {"keypad *", SDL_SCANCODE_KP_MULTIPLY}, {"left Windows", SDL_SCANCODE_LGUI},
        {"menu", SDL_SCANCODE_APPLICATION},  {"Pause", SDL_SCANCODE_PAUSE},
        {"ISO second backslash", SDL_SCANCODE_NONUSBACKSLASH},
        {"a key SDL cannot name", SDL_SCANCODE_UNKNOWN},
    };
    for (const auto& [name, scancode] : keys) {
        const int vk = virtualKeyFromScancode(scancode);
        ASSERT_NE(vk, 0) << name;
        TinyGameDir dir;
        TinyRun r({keyDown(1100, vk), keyUp(1150, vk)}, 20);
        EXPECT_EQ(r.run(), 0) << name;
        EXPECT_EQ(r.game->fight.gameState, GameState::Fight) << name;
        EXPECT_EQ(r.platform.passes(), 20) << name << " closed the game";
        EXPECT_TRUE(r.game->fight.fighter1->history.empty() && r.game->fight.fighter2->history.empty()) << name;
    }
}

// Every scancode has a code, and only the fight's own keys have the fight's codes.
TEST(SdlKeys, OnlyTheFightsKeysHaveTheFightsCodes)
{
    const std::map<int, int> fightKeys = {
        {'B', SDL_SCANCODE_B}, {'C', SDL_SCANCODE_C}, {'F', SDL_SCANCODE_F}, {'V', SDL_SCANCODE_V},
        {'X', SDL_SCANCODE_X}, {'Z', SDL_SCANCODE_Z}, {VK_LEFT, SDL_SCANCODE_LEFT},
        {VK_UP, SDL_SCANCODE_UP}, {VK_RIGHT, SDL_SCANCODE_RIGHT}, {VK_DOWN, SDL_SCANCODE_DOWN},
        {VK_OEM_PERIOD, SDL_SCANCODE_PERIOD}, {VK_OEM_2, SDL_SCANCODE_SLASH},
        {VK_ESCAPE, SDL_SCANCODE_ESCAPE}, {VK_F12, SDL_SCANCODE_F12},
    };
    for (int sc = 0; sc < SDL_NUM_SCANCODES; ++sc) {
        const int vk = virtualKeyFromScancode(sc);
        EXPECT_NE(vk, 0) << "scancode " << sc;
        auto it = fightKeys.find(vk);
        EXPECT_TRUE(it == fightKeys.end() || it->second == sc) << "scancode " << sc << " has code " << vk;
    }
    for (const auto& [vk, sc] : fightKeys) EXPECT_EQ(virtualKeyFromScancode(sc), vk) << "scancode " << sc;
}

}  // namespace
}  // namespace ib::test
