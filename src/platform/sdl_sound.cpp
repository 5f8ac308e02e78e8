#include "platform/sdl_sound.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace ib {

namespace {

constexpr int kChannels = 16;
// The music's share of its volume while effects play.
constexpr int kDuckPercent = 40;

// With INKBLOT_SOUND_LOG set, every effect started is written to standard
// error with the count of audio frames mixed before it: in a recording of
// the output (SDL's disk driver) that is where the effect begins.
bool logging()
{
    static const bool on = std::getenv("INKBLOT_SOUND_LOG") != nullptr;
    return on;
}

int scaled(int percent, int part = 100)
{
    return MIX_MAX_VOLUME * percent / 100 * part / 100;
}

}  // namespace

struct SdlSound::Impl {
    bool triedOpen = false;
    bool audioUp = false;
    std::vector<Mix_Chunk*> chunks;
    std::vector<std::string> names;
    Mix_Music* music = nullptr;
    int effectsVolume = 100;
    int musicVolume = 100;
    int musicVolumeSet = -1;
    int frameBytes = 4;
    std::atomic<unsigned long long> bytesMixed{0};

    static void countMixed(void* self, Uint8*, int len)
    {
        static_cast<Impl*>(self)->bytesMixed += static_cast<unsigned long long>(len);
    }

    void close()
    {
        if (!audioUp) return;
        Mix_HaltChannel(-1);
        Mix_HaltMusic();
        Mix_SetPostMix(nullptr, nullptr);
        for (Mix_Chunk* c : chunks)
            if (c) Mix_FreeChunk(c);
        chunks.clear();
        if (music) Mix_FreeMusic(music);
        music = nullptr;
        Mix_CloseAudio();
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        audioUp = false;
    }
};

SdlSound::SdlSound() : impl_(std::make_unique<Impl>()) {}

SdlSound::~SdlSound() { impl_->close(); }

bool SdlSound::open()
{
    Impl& s = *impl_;
    if (s.triedOpen) return s.audioUp;
    s.triedOpen = true;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        std::fprintf(stderr, "Inkblot Fighter: no audio device (%s); playing without sound\n", SDL_GetError());
        return false;
    }
    if (Mix_OpenAudio(kMixRate, AUDIO_S16SYS, 2, kMixBufferFrames) != 0) {
        std::fprintf(stderr, "Inkblot Fighter: no audio device (%s); playing without sound\n", Mix_GetError());
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    s.audioUp = true;
    Mix_Init(MIX_INIT_OGG);
    Mix_AllocateChannels(kChannels);
    int rate = 0, channels = 0;
    Uint16 format = 0;
    if (Mix_QuerySpec(&rate, &format, &channels) != 0)
        s.frameBytes = SDL_AUDIO_BITSIZE(format) / 8 * channels;
    Mix_SetPostMix(&Impl::countMixed, &s);
    if (logging())
        std::fprintf(stderr, "Inkblot Fighter: audio %d Hz, %d channels, %d bytes a frame\n", rate,
                     channels, s.frameBytes);
    return true;
}

int SdlSound::loadEffect(const std::string& path, std::string& why)
{
    if (!impl_->audioUp) {
        why = "no audio device";
        return -1;
    }
    Mix_Chunk* chunk = Mix_LoadWAV(path.c_str());
    if (!chunk) {
        why = Mix_GetError();
        return -1;
    }
    impl_->chunks.push_back(chunk);
    impl_->names.push_back(path);
    return static_cast<int>(impl_->chunks.size()) - 1;
}

bool SdlSound::loadMusic(const std::string& path, std::string& why)
{
    if (!impl_->audioUp) {
        why = "no audio device";
        return false;
    }
    Mix_Music* music = Mix_LoadMUS(path.c_str());
    if (!music) {
        why = Mix_GetError();
        return false;
    }
    if (impl_->music) {
        Mix_HaltMusic();
        Mix_FreeMusic(impl_->music);
    }
    impl_->music = music;
    return true;
}

void SdlSound::playEffect(int handle, int volume, int pan)
{
    Impl& s = *impl_;
    if (!s.audioUp || handle < 0 || static_cast<std::size_t>(handle) >= s.chunks.size()) return;
    // The volume is set on a free channel before the effect starts on it,
    // so not one buffer of it plays at another channel's volume.
    int channel = Mix_GroupAvailable(-1);
    if (channel < 0) channel = Mix_GroupOldest(-1);
    if (channel < 0) return;
    Mix_HaltChannel(channel);
    Mix_Volume(channel, scaled(s.effectsVolume, volume));
    // The far side is turned down; 255 on both sides takes the panning off.
    const auto side = [&](int away) { return static_cast<Uint8>(255 - 255 * std::max(0, away) / 100); };
    Mix_SetPanning(channel, side(pan), side(-pan));
    const unsigned long long frame = s.bytesMixed / static_cast<unsigned long long>(s.frameBytes);
    if (Mix_PlayChannel(channel, s.chunks[static_cast<std::size_t>(handle)], 0) < 0) return;
    if (logging())
        std::fprintf(stderr, "Inkblot Fighter: sound <%s> starts at audio frame %llu\n",
                     s.names[static_cast<std::size_t>(handle)].c_str(), frame);
    update();
}

void SdlSound::playMusic()
{
    if (!impl_->audioUp || !impl_->music || Mix_PlayingMusic()) return;
    Mix_PlayMusic(impl_->music, -1);
}

void SdlSound::stopMusic()
{
    if (impl_->audioUp) Mix_HaltMusic();
}

void SdlSound::setVolumes(int effects, int music)
{
    impl_->effectsVolume = effects;
    impl_->musicVolume = music;
    impl_->musicVolumeSet = -1;
    if (impl_->audioUp && effects == 0) Mix_HaltChannel(-1);
    update();
}

void SdlSound::update()
{
    Impl& s = *impl_;
    if (!s.audioUp) return;
    const int want = scaled(s.musicVolume, Mix_Playing(-1) > 0 ? kDuckPercent : 100);
    if (want != s.musicVolumeSet) {
        Mix_VolumeMusic(want);
        s.musicVolumeSet = want;
    }
}

}  // namespace ib
