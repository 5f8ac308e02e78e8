#include "platform/sdl_sound_check.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <fstream>
#include <memory>

#include "platform/sdl_sound.h"

namespace ib {

namespace {

// The mixer open on the silent driver for as long as the check is kept.
class SilentMixer {
public:
    SilentMixer()
    {
        // Only for this opening: a speaker opened later takes its own driver.
        SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
        const bool audio = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
        SDL_ResetHint(SDL_HINT_AUDIODRIVER);
        if (!audio) return;
        if (Mix_OpenAudio(kMixRate, AUDIO_S16SYS, 2, kMixBufferFrames) != 0) {
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
            return;
        }
        Mix_Init(MIX_INIT_OGG);
        up_ = true;
    }
    ~SilentMixer()
    {
        if (!up_) return;
        Mix_CloseAudio();
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    SilentMixer(const SilentMixer&) = delete;
    SilentMixer& operator=(const SilentMixer&) = delete;

    bool check(const std::string& path, bool music, std::string& why) const
    {
        if (!up_) {
            if (std::ifstream(path, std::ios::binary)) return true;
            why = "not found";
            return false;
        }
        if (music) {
            Mix_Music* m = Mix_LoadMUS(path.c_str());
            if (m) Mix_FreeMusic(m);
            else why = Mix_GetError();
            return m != nullptr;
        }
        Mix_Chunk* chunk = Mix_LoadWAV(path.c_str());
        if (chunk) Mix_FreeChunk(chunk);
        else why = Mix_GetError();
        return chunk != nullptr;
    }

private:
    bool up_ = false;
};

}  // namespace

RecordingSound::FileCheck sdlSoundFileCheck()
{
    auto mixer = std::make_shared<SilentMixer>();
    return [mixer](const std::string& path, bool music, std::string& why) { return mixer->check(path, music, why); };
}

}  // namespace ib
