// Sound files read as the game's speaker reads them, heard by nobody: for
// a runner without a speaker, so that it refuses the files the game
// refuses, with the same reasons.
#pragma once

#include "platform/recording_sound.h"

namespace ib {

// Loads each file through SDL_mixer, as SdlSound does, on SDL's silent
// "dummy" audio driver, and lets it go again. Where even that driver does
// not open, only checks that the file opens.
RecordingSound::FileCheck sdlSoundFileCheck();

}  // namespace ib
