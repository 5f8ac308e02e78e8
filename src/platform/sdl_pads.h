// The SDL backend's pads: game controllers opened as they are plugged in,
// each given a pad number (the same number again when a pad with the same
// GUID comes back), and their events turned into the game's messages.
#pragma once

#include <SDL.h>

#include <string>
#include <vector>

#include "platform/platform.h"

namespace ib {

class SdlPads {
public:
    SdlPads() = default;
    ~SdlPads();
    SdlPads(const SdlPads&) = delete;
    SdlPads& operator=(const SdlPads&) = delete;

    void setSetup(const PadSetup& setup) { setup_ = setup; }
    // Starts SDL's game controller part (SDL must be up) and reads the
    // extra pad layouts; a failure is said on standard error and leaves
    // the game without pads.
    void start();
    void stop();
    // Turns a controller event into messages; false for any other event.
    bool translate(const SDL_Event& e, Platform& p);
    std::string name(int pad) const;

private:
    struct Pad {
        SDL_GameController* controller = nullptr;
        SDL_JoystickID instance = -1;
        std::string guid;
        std::string name;
    };
    // The pad number (1-based) of a connected controller, or 0.
    int padOf(SDL_JoystickID instance) const;
    void add(int deviceIndex, Platform& p);

    PadSetup setup_;
    bool started_ = false;
    std::vector<Pad> pads_;  // index: pad number - 1
};

}  // namespace ib
