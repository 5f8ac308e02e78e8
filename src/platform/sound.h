// The game's speaker: short effects loaded from files and played at once,
// and one music loop. Backends: sdl_sound (SDL_mixer) and recording_sound
// (no device: remembers what it was asked to play).
#pragma once

#include <string>

namespace ib {

class Sound {
public:
    virtual ~Sound() = default;

    // Opens the audio device. False when there is none: everything after
    // plays silent, and the backend has said so once on standard error.
    virtual bool open() = 0;

    // Loads an effect from a file; its handle (0 and up), or -1 with `why`
    // set to what is wrong with the file.
    virtual int loadEffect(const std::string& path, std::string& why) = 0;
    // Loads the music loop (WAV or Ogg Vorbis), replacing any before it.
    virtual bool loadMusic(const std::string& path, std::string& why) = 0;

    // Starts an effect at once, at `volume` (0 to 100) of the effects
    // volume, from `pan` -100 (left) through 0 (both sides) to 100 (right).
    virtual void playEffect(int handle, int volume, int pan) = 0;
    // Starts the music loop from its beginning unless it is playing.
    virtual void playMusic() = 0;
    virtual void stopMusic() = 0;
    // The effects and music volumes, 0 to 100.
    virtual void setVolumes(int effects, int music) = 0;

    // Called once a pass: the music is held quieter while effects play.
    virtual void update() {}
};

}  // namespace ib
