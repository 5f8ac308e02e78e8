// A speaker with no device: it notes what it is asked to play. Loading
// checks the file with the check it is given; without one, only that the
// file opens.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/sound.h"

namespace ib {

class RecordingSound : public Sound {
public:
    struct Played {
        std::string path;  // the effect's file
        int volume = 0;
        int pan = 0;
        bool operator==(const Played&) const = default;
    };

    // True when the file at `path` would load (as music when `music`);
    // false with `why` saying what is wrong with it.
    using FileCheck = std::function<bool(const std::string& path, bool music, std::string& why)>;
    void setFileCheck(FileCheck check) { check_ = std::move(check); }

    bool open() override { return true; }
    int loadEffect(const std::string& path, std::string& why) override;
    bool loadMusic(const std::string& path, std::string& why) override;
    void playEffect(int handle, int volume, int pan) override;
    void playMusic() override { musicPlaying_ = !music_.empty(); }
    void stopMusic() override { musicPlaying_ = false; }
    void setVolumes(int effects, int music) override
    {
        effectsVolume_ = effects;
        musicVolume_ = music;
    }

    const std::vector<Played>& played() const { return played_; }
    bool musicPlaying() const { return musicPlaying_; }
    const std::string& music() const { return music_; }
    int effectsVolume() const { return effectsVolume_; }
    int musicVolume() const { return musicVolume_; }

private:
    FileCheck check_;
    std::vector<std::string> effects_;
    std::vector<Played> played_;
    std::string music_;
    bool musicPlaying_ = false;
    int effectsVolume_ = 100;
    int musicVolume_ = 100;
};

}  // namespace ib
