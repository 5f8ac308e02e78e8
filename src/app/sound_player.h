// The game's sounds: which file each sound of the fight plays, read from
// the content folder, and the switch and volumes the player sets.
//
// Files: "swish.wav" (a striking move starts), "hit.wav", "block.wav",
// "knockout.wav", "plip.wav" (a fighter speaks), "chime.wav" (the splash
// is left) and the level's "<level>.music.ogg" or "<level>.music.wav". A
// Move named X with a file "X.wav" plays that when it starts instead. A
// file that is missing (but an X.wav) or broken is named once on standard
// error and that sound stays silent.
#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "app/sound_config.h"
#include "content/content.h"
#include "content/content_files.h"
#include "fight/fight_state.h"
#include "fight/sound_events.h"
#include "platform/sound.h"

namespace ib {

class SoundPlayer {
public:
    // Opens the device and loads every sound; without a device nothing is
    // loaded and everything after is silent.
    void load(Sound& sound, const ContentFiles& files, const std::string& level,
              const std::vector<std::unique_ptr<Character>>& characters, SoundVolumes volumes);

    // The level's music in place of the music loaded before, if another.
    void useLevelMusic(const ContentFiles& files, const std::string& level);
    // The sounds of the Moves of a Character loaded after start-up.
    void addCharacter(const ContentFiles& files, const Character& character);

    void play(const SoundEvent& event);
    // Music on the splash and in the fight, none after; called every pass.
    void update(GameState state);
    // F10: all sound off, or back on at the player's volumes.
    void toggle();
    bool on() const { return on_; }

    // The Moves with a sound file of their own.
    const std::set<const Move*>& voicedMoves() const { return voicedMoves_; }

private:
    int loadEffect(const ContentFiles& files, const std::string& name, bool optional);

    Sound* sound_ = nullptr;
    SoundVolumes volumes_;
    bool on_ = true;
    std::map<SoundKind, int> effects_;
    int swish_ = -1;
    std::map<std::string, int> byName_;  // each file loaded (or refused) once
    std::map<const Move*, int> moveSounds_;
    std::set<const Move*> voicedMoves_;
    std::string musicLevel_;  // whose music was loaded
    bool hasMusic_ = false;   // and whether it could be
};

}  // namespace ib
