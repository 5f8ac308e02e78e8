#include <SDL_scancode.h>

#include "platform/input_names.h"
#include "platform/platform.h"

namespace ib {

int virtualKeyFromScancode(int scancode)
{
    if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z) return 'A' + (scancode - SDL_SCANCODE_A);
    if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9) return '1' + (scancode - SDL_SCANCODE_1);
    if (scancode >= SDL_SCANCODE_F1 && scancode <= SDL_SCANCODE_F12) return 0x70 + (scancode - SDL_SCANCODE_F1);
    if (scancode >= SDL_SCANCODE_F13 && scancode <= SDL_SCANCODE_F24) return 0x7C + (scancode - SDL_SCANCODE_F13);
    if (scancode >= SDL_SCANCODE_KP_1 && scancode <= SDL_SCANCODE_KP_9) return 0x61 + (scancode - SDL_SCANCODE_KP_1);
    switch (scancode) {
    case SDL_SCANCODE_0: return '0';
    case SDL_SCANCODE_RETURN:
    case SDL_SCANCODE_KP_ENTER: return VK_RETURN;
    case SDL_SCANCODE_ESCAPE: return VK_ESCAPE;
    case SDL_SCANCODE_BACKSPACE: return 0x08;
    case SDL_SCANCODE_TAB: return 0x09;
    case SDL_SCANCODE_SPACE: return VK_SPACE;
    case SDL_SCANCODE_LEFT: return VK_LEFT;
    case SDL_SCANCODE_UP: return VK_UP;
    case SDL_SCANCODE_RIGHT: return VK_RIGHT;
    case SDL_SCANCODE_DOWN: return VK_DOWN;
    case SDL_SCANCODE_LSHIFT:
    case SDL_SCANCODE_RSHIFT: return 0x10;
    case SDL_SCANCODE_LCTRL:
    case SDL_SCANCODE_RCTRL: return 0x11;
    case SDL_SCANCODE_LALT:
    case SDL_SCANCODE_RALT: return 0x12;
    case SDL_SCANCODE_SEMICOLON: return 0xBA;
    case SDL_SCANCODE_EQUALS: return 0xBB;
    case SDL_SCANCODE_COMMA: return 0xBC;
    case SDL_SCANCODE_MINUS: return 0xBD;
    case SDL_SCANCODE_PERIOD: return VK_OEM_PERIOD;
    case SDL_SCANCODE_SLASH: return VK_OEM_2;
    case SDL_SCANCODE_GRAVE: return 0xC0;
    case SDL_SCANCODE_LEFTBRACKET: return 0xDB;
    case SDL_SCANCODE_BACKSLASH:
    case SDL_SCANCODE_NONUSHASH: return 0xDC;  // the same key on ANSI and ISO boards
    case SDL_SCANCODE_RIGHTBRACKET: return 0xDD;
    case SDL_SCANCODE_APOSTROPHE: return 0xDE;
    case SDL_SCANCODE_NONUSBACKSLASH: return 0xE2;  // the ISO board's key beside left Shift

    // The editing and navigation block.
    case SDL_SCANCODE_INSERT: return 0x2D;
    case SDL_SCANCODE_DELETE: return 0x2E;
    case SDL_SCANCODE_HOME: return 0x24;
    case SDL_SCANCODE_END: return 0x23;
    case SDL_SCANCODE_PAGEUP: return 0x21;
    case SDL_SCANCODE_PAGEDOWN: return 0x22;
    case SDL_SCANCODE_PRINTSCREEN: return 0x2C;
    case SDL_SCANCODE_SCROLLLOCK: return 0x91;
    case SDL_SCANCODE_PAUSE: return 0x13;
    case SDL_SCANCODE_CAPSLOCK: return 0x14;

    // The keypad (its Enter is Enter, above).
    case SDL_SCANCODE_NUMLOCKCLEAR: return 0x90;
    case SDL_SCANCODE_KP_0: return 0x60;
    case SDL_SCANCODE_KP_MULTIPLY: return 0x6A;
    case SDL_SCANCODE_KP_PLUS: return 0x6B;
    case SDL_SCANCODE_KP_COMMA:
    case SDL_SCANCODE_SEPARATOR: return 0x6C;
    case SDL_SCANCODE_KP_MINUS: return 0x6D;
    case SDL_SCANCODE_KP_PERIOD: return 0x6E;
    case SDL_SCANCODE_KP_DIVIDE: return 0x6F;
    case SDL_SCANCODE_KP_CLEAR:
    case SDL_SCANCODE_CLEAR: return 0x0C;

    // System and language keys.
    case SDL_SCANCODE_LGUI: return 0x5B;
    case SDL_SCANCODE_RGUI: return 0x5C;
    case SDL_SCANCODE_APPLICATION: return 0x5D;
    case SDL_SCANCODE_SLEEP: return 0x5F;
    case SDL_SCANCODE_CANCEL: return 0x03;
    case SDL_SCANCODE_SELECT: return 0x29;
    case SDL_SCANCODE_EXECUTE: return 0x2B;
    case SDL_SCANCODE_HELP: return 0x2F;
    case SDL_SCANCODE_CRSEL: return 0xF7;
    case SDL_SCANCODE_EXSEL: return 0xF8;
    case SDL_SCANCODE_INTERNATIONAL2:
    case SDL_SCANCODE_LANG1: return 0x15;  // Kana, Hangul
    case SDL_SCANCODE_LANG2: return 0x19;  // Hanja
    case SDL_SCANCODE_INTERNATIONAL4: return 0x1C;  // Convert
    case SDL_SCANCODE_INTERNATIONAL5: return 0x1D;  // No convert

    // Browser, volume and media keys.
    case SDL_SCANCODE_AC_BACK: return 0xA6;
    case SDL_SCANCODE_AC_FORWARD: return 0xA7;
    case SDL_SCANCODE_AC_REFRESH: return 0xA8;
    case SDL_SCANCODE_AC_STOP: return 0xA9;
    case SDL_SCANCODE_AC_SEARCH: return 0xAA;
    case SDL_SCANCODE_AC_BOOKMARKS: return 0xAB;
    case SDL_SCANCODE_AC_HOME: return 0xAC;
    case SDL_SCANCODE_MUTE:
    case SDL_SCANCODE_AUDIOMUTE: return 0xAD;
    case SDL_SCANCODE_VOLUMEDOWN: return 0xAE;
    case SDL_SCANCODE_VOLUMEUP: return 0xAF;
    case SDL_SCANCODE_AUDIONEXT: return 0xB0;
    case SDL_SCANCODE_AUDIOPREV: return 0xB1;
    case SDL_SCANCODE_AUDIOSTOP: return 0xB2;
    case SDL_SCANCODE_AUDIOPLAY: return 0xB3;
    case SDL_SCANCODE_MAIL: return 0xB4;
    case SDL_SCANCODE_MEDIASELECT: return 0xB5;
    case SDL_SCANCODE_COMPUTER:
    case SDL_SCANCODE_APP1: return 0xB6;
    case SDL_SCANCODE_CALCULATOR:
    case SDL_SCANCODE_APP2: return 0xB7;

    // Every other key, and a key SDL cannot name, still is a key: it leaves
    // the splash screen and means nothing in the fight.
    default: return kVirtualKeyOther;
    }
}

}  // namespace ib
