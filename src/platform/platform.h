// The platform layer: everything the game needs from the machine it runs on.
// The game draws into Surfaces held in memory; a backend only shows the front
// buffer, turns its events into window messages, and keeps the clock.
// Backends: sdl_platform (a real window) and headless_platform (no window,
// virtual clock, scripted events, fault injection).
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>

#include "platform/sound.h"
#include "platform/surface.h"

namespace ib {

// Window messages the game's window procedure sees.
constexpr std::uint32_t WM_DESTROY = 0x0002;
constexpr std::uint32_t WM_ACTIVATE = 0x0006;
constexpr std::uint32_t WM_CLOSE = 0x0010;
constexpr std::uint32_t WM_QUIT = 0x0012;
constexpr std::uint32_t WM_SETCURSOR = 0x0020;
constexpr std::uint32_t WM_KEYDOWN = 0x0100;
constexpr std::uint32_t WM_KEYUP = 0x0101;

// Pads. A pad is known by its number, 1 for the first pad seen in the run;
// a pad plugged in again gets its number back. wParam is padParam(pad,
// code, value):
//   WM_PADADDED       code: the player the controls file gives the pad, or 0
//   WM_PADREMOVED
//   WM_PADBUTTONDOWN  code: the button (platform/input_names.h)
//   WM_PADBUTTONUP    code: the button
//   WM_PADAXIS        code: the axis; value: -32768 to 32767
constexpr std::uint32_t WM_PADADDED = 0x8001;
constexpr std::uint32_t WM_PADREMOVED = 0x8002;
constexpr std::uint32_t WM_PADBUTTONDOWN = 0x8003;
constexpr std::uint32_t WM_PADBUTTONUP = 0x8004;
constexpr std::uint32_t WM_PADAXIS = 0x8005;
// What both players hold for the next step, as a record from elsewhere
// (an online fight played back): wParam's low byte player 1's buttons,
// the next byte player 2's, a bit per button (Left, Right, Up, Down,
// Attack, Block from bit 0).
constexpr std::uint32_t WM_HELDBUTTONS = 0x8010;
constexpr int kMaxPads = 255;

constexpr std::uint32_t padParam(int pad, int code = 0, int value = 0)
{
    return static_cast<std::uint32_t>(pad & 0xFF) | (static_cast<std::uint32_t>(code & 0xFF) << 8) |
           (static_cast<std::uint32_t>(static_cast<std::uint16_t>(value)) << 16);
}
constexpr int padOf(std::uint32_t wParam) { return static_cast<int>(wParam & 0xFF); }
constexpr int padCode(std::uint32_t wParam) { return static_cast<int>((wParam >> 8) & 0xFF); }
constexpr int padValue(std::uint32_t wParam) { return static_cast<std::int16_t>(wParam >> 16); }

// What the game tells the backend about pads before the window opens.
struct PadSetup {
    std::string mappingsFile;            // more pad layouts, read when it exists
    std::array<std::string, 2> guids;    // the pad each player takes, by GUID
};

// WM_ACTIVATE's wParam: the high 16 bits are non-zero while minimised.
constexpr std::uint32_t kActivateMinimized = 0x00010000;

// Virtual-key codes.
constexpr int VK_BACK = 0x08;
constexpr int VK_RETURN = 0x0D;
constexpr int VK_ESCAPE = 0x1B;
constexpr int VK_SPACE = 0x20;
constexpr int VK_LEFT = 0x25;
constexpr int VK_UP = 0x26;
constexpr int VK_RIGHT = 0x27;
constexpr int VK_DOWN = 0x28;
constexpr int VK_F1 = 0x70;
constexpr int VK_F10 = 0x79;
constexpr int VK_F12 = 0x7B;
constexpr int VK_OEM_PERIOD = 0xBE;
constexpr int VK_OEM_2 = 0xBF;

struct Message {
    std::uint32_t message = 0;
    std::uint32_t wParam = 0;
    friend bool operator==(const Message&, const Message&) = default;
};

// Start-up steps of the display, in order; a backend may be told to fail one.
enum class DisplayStep { Window, Create, Cooperative, Mode, Surface, Attach };

class Platform {
public:
    virtual ~Platform() = default;

    // --- window -----------------------------------------------------------
    // Makes the game's window (not yet shown). False when refused; the
    // backend has then written why to standard error.
    virtual bool createWindow(const char* title) = 0;
    virtual void showWindow() = 0;
    virtual void destroyWindow() = 0;

    // --- display start-up: each answers DD_OK or an error code ------------
    virtual HRESULT directDrawCreate(std::shared_ptr<DisplayDevice>& out) = 0;
    virtual HRESULT setCooperativeLevel() = 0;
    virtual HRESULT setDisplayMode(int width, int height, int bitsPerPixel) = 0;
    virtual HRESULT createPrimarySurface(DisplayDevice& device, std::shared_ptr<Surface>& out) = 0;
    virtual HRESULT getAttachedSurface(Surface& primary, std::shared_ptr<Surface>& out) = 0;
    // Gives the desktop back (leaves full screen). Safe to call twice.
    virtual void releaseDisplay() = 0;
    // Shows the front buffer; called after every successful flip.
    virtual void presentFrame(const Surface& front) = 0;

    // --- messages ---------------------------------------------------------
    // Gathers the backend's events; true when a message is waiting.
    virtual bool peekMessage() = 0;
    // Blocks until a message is waiting.
    virtual void waitMessage() = 0;
    // Takes the next waiting message; call only after peekMessage said yes.
    Message getMessage()
    {
        const Queued q = queue_.front();
        queue_.pop_front();
        lastTakenWasOwn_ = q.own;
        taken(q.message, q.own);
        return q.message;
    }
    // A message from the machine: a key, the window, a close request.
    void postMessage(Message m) { queue_.push_back({m, false}); }
    // A message the game posts to itself (its own close, the quit message).
    // A replay records only the machine's messages: the game posts its own
    // again when it plays one back.
    void postOwnMessage(Message m) { queue_.push_back({m, true}); }
    void postQuitMessage(int status) { postOwnMessage({WM_QUIT, static_cast<std::uint32_t>(status)}); }
    // Whether the message getMessage gave last was one the game posted.
    bool lastTakenWasOwn() const { return lastTakenWasOwn_; }

    // --- pads -------------------------------------------------------------
    virtual void setPadSetup(const PadSetup&) {}
    // The name the pad gives itself; empty when not known.
    virtual std::string padName(int) const { return {}; }

    // --- time -------------------------------------------------------------
    virtual std::uint32_t timeGetTime() = 0;
    virtual void sleep(std::uint32_t ms) = 0;

    // --- sound -------------------------------------------------------------
    virtual Sound& sound() = 0;

    // --- the error box: also always written to standard error --------------
    virtual void messageBox(const std::string& text, const char* caption) = 0;

    // --- pass hooks for the headless runner --------------------------------
    virtual void beginPass() {}
    // False ends the main loop (exit status 0).
    virtual bool endPass() { return true; }

protected:
    // The game has just taken this message (a recording keeps the
    // machine's).
    virtual void taken(const Message&, bool /*own*/) {}

    struct Queued {
        Message message;
        bool own = false;
    };
    std::deque<Queued> queue_;

private:
    bool lastTakenWasOwn_ = false;
};

}  // namespace ib
