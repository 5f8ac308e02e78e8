#include "platform/sdl_pads.h"

#include <cstdio>
#include <filesystem>

namespace ib {

SdlPads::~SdlPads() { stop(); }

void SdlPads::start()
{
    if (started_) return;
    // SDL reads SDL_GAMECONTROLLERCONFIG and SDL_GAMECONTROLLERCONFIG_FILE itself.
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
        std::fprintf(stderr, "Inkblot Fighter: pads cannot be used: %s\n", SDL_GetError());
        return;
    }
    started_ = true;
    std::error_code ec;
    if (!setup_.mappingsFile.empty() && std::filesystem::exists(setup_.mappingsFile, ec) &&
        SDL_GameControllerAddMappingsFromFile(setup_.mappingsFile.c_str()) < 0)
        std::fprintf(stderr, "Inkblot Fighter: %s cannot be read: %s\n", setup_.mappingsFile.c_str(),
                     SDL_GetError());
}

void SdlPads::stop()
{
    for (Pad& pad : pads_) {
        if (pad.controller) SDL_GameControllerClose(pad.controller);
        pad.controller = nullptr;
        pad.instance = -1;
    }
    if (started_) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    started_ = false;
}

int SdlPads::padOf(SDL_JoystickID instance) const
{
    for (std::size_t i = 0; i < pads_.size(); ++i)
        if (pads_[i].controller && pads_[i].instance == instance) return static_cast<int>(i + 1);
    return 0;
}

std::string SdlPads::name(int pad) const
{
    if (pad < 1 || static_cast<std::size_t>(pad) > pads_.size()) return {};
    return pads_[static_cast<std::size_t>(pad - 1)].name;
}

void SdlPads::add(int deviceIndex, Platform& p)
{
    // Pads there at start are announced once more by SDL; once is enough.
    if (padOf(SDL_JoystickGetDeviceInstanceID(deviceIndex))) return;
    SDL_GameController* controller = SDL_GameControllerOpen(deviceIndex);
    if (!controller) return;
    SDL_Joystick* joystick = SDL_GameControllerGetJoystick(controller);
    char guid[33] = {};
    SDL_JoystickGetGUIDString(SDL_JoystickGetGUID(joystick), guid, sizeof guid);
    // The number this pad had before, else the first one never used.
    std::size_t slot = pads_.size();
    for (std::size_t i = 0; i < pads_.size() && slot == pads_.size(); ++i)
        if (!pads_[i].controller && pads_[i].guid == guid) slot = i;
    if (slot == pads_.size()) {
        if (pads_.size() >= static_cast<std::size_t>(kMaxPads)) {
            SDL_GameControllerClose(controller);
            return;
        }
        pads_.emplace_back();
    }
    Pad& pad = pads_[slot];
    pad.controller = controller;
    pad.instance = SDL_JoystickInstanceID(joystick);
    pad.guid = guid;
    const char* name = SDL_GameControllerName(controller);
    pad.name = name ? name : "";
    int player = 0;
    for (int i = 0; i < 2; ++i)
        if (!setup_.guids[static_cast<std::size_t>(i)].empty() && setup_.guids[static_cast<std::size_t>(i)] == pad.guid)
            player = i + 1;
    p.postMessage({WM_PADADDED, padParam(static_cast<int>(slot + 1), player)});
}

bool SdlPads::translate(const SDL_Event& e, Platform& p)
{
    switch (e.type) {
    case SDL_CONTROLLERDEVICEADDED: add(e.cdevice.which, p); return true;
    case SDL_CONTROLLERDEVICEREMOVED:
        if (int pad = padOf(e.cdevice.which)) {
            Pad& gone = pads_[static_cast<std::size_t>(pad - 1)];
            SDL_GameControllerClose(gone.controller);
            gone.controller = nullptr;
            gone.instance = -1;
            p.postMessage({WM_PADREMOVED, padParam(pad)});
        }
        return true;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
        if (int pad = padOf(e.cbutton.which))
            p.postMessage({e.type == SDL_CONTROLLERBUTTONDOWN ? WM_PADBUTTONDOWN : WM_PADBUTTONUP,
                           padParam(pad, e.cbutton.button)});
        return true;
    case SDL_CONTROLLERAXISMOTION:
        if (int pad = padOf(e.caxis.which)) p.postMessage({WM_PADAXIS, padParam(pad, e.caxis.axis, e.caxis.value)});
        return true;
    default: return false;
    }
}

}  // namespace ib
