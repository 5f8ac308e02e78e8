// The speaker through SDL_mixer: 44.1 kHz, 16-bit stereo, a 512-frame
// audio buffer (11.6 ms), 16 effect channels and one music stream.
#pragma once

#include <memory>

#include "platform/sound.h"

namespace ib {

// The mixer's output: the rate, and the audio buffer in frames (11.6 ms).
inline constexpr int kMixRate = 44100;
inline constexpr int kMixBufferFrames = 512;

class SdlSound : public Sound {
public:
    SdlSound();
    ~SdlSound() override;
    SdlSound(const SdlSound&) = delete;
    SdlSound& operator=(const SdlSound&) = delete;

    bool open() override;
    int loadEffect(const std::string& path, std::string& why) override;
    bool loadMusic(const std::string& path, std::string& why) override;
    void playEffect(int handle, int volume, int pan) override;
    void playMusic() override;
    void stopMusic() override;
    void setVolumes(int effects, int music) override;
    void update() override;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace ib
