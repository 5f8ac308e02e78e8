#include "app/sound_player.h"

#include <cstdio>
#include <filesystem>

namespace ib {

namespace {

// Fighter 1 stands on the left, fighter 2 on the right.
constexpr int kFighterPan = 40;

bool exists(const ContentFiles& files, const std::string& name)
{
    std::error_code ec;
    return std::filesystem::is_regular_file(files.pathOf(name), ec);
}

void sayBroken(const std::string& name, const std::string& why)
{
    std::fprintf(stderr, "Inkblot Fighter: sound file <%s> could not be read (%s); that sound stays silent\n",
                 name.c_str(), why.c_str());
}

}  // namespace

int SoundPlayer::loadEffect(const ContentFiles& files, const std::string& name, bool optional)
{
    if (auto it = byName_.find(name); it != byName_.end()) return it->second;
    int handle = -1;
    if (!exists(files, name)) {
        if (!optional)
            std::fprintf(stderr, "Inkblot Fighter: sound file <%s> not found; that sound stays silent\n",
                         name.c_str());
    } else {
        std::string why;
        handle = sound_->loadEffect(files.pathOf(name), why);
        if (handle < 0) sayBroken(name, why);
    }
    byName_[name] = handle;
    return handle;
}

void SoundPlayer::load(Sound& sound, const ContentFiles& files, const std::string& level,
                       const std::vector<std::unique_ptr<Character>>& characters, SoundVolumes volumes)
{
    volumes_ = volumes;
    if (!sound.open()) return;
    sound_ = &sound;
    sound.setVolumes(volumes.effects, volumes.music);
    swish_ = loadEffect(files, "swish.wav", false);
    effects_[SoundKind::Hit] = loadEffect(files, "hit.wav", false);
    effects_[SoundKind::Block] = loadEffect(files, "block.wav", false);
    effects_[SoundKind::KnockOut] = loadEffect(files, "knockout.wav", false);
    effects_[SoundKind::Quote] = loadEffect(files, "plip.wav", false);
    effects_[SoundKind::Splash] = loadEffect(files, "chime.wav", false);
    for (const auto& character : characters)
        if (character) addCharacter(files, *character);
    useLevelMusic(files, level);
}

void SoundPlayer::useLevelMusic(const ContentFiles& files, const std::string& level)
{
    if (!sound_ || level == musicLevel_) return;
    musicLevel_ = level;
    // Ogg first, then WAV.
    const std::string ogg = level + ".music.ogg", wav = level + ".music.wav";
    const std::string music = exists(files, ogg) ? ogg : wav;
    std::string why;
    // A stage without music of its own is quiet, not the last stage's.
    hasMusic_ = false;
    sound_->stopMusic();
    if (!exists(files, music))
        std::fprintf(stderr, "Inkblot Fighter: music file <%s> (or <%s>) not found; playing without music\n",
                     ogg.c_str(), wav.c_str());
    else if (!sound_->loadMusic(files.pathOf(music), why))
        std::fprintf(stderr, "Inkblot Fighter: music file <%s> could not be read (%s); playing without music\n",
                     music.c_str(), why.c_str());
    else hasMusic_ = true;
}

void SoundPlayer::addCharacter(const ContentFiles& files, const Character& character)
{
    if (!sound_) return;
    for (const auto& move : character.moves) {
        if (!move || moveSounds_.contains(move.get())) continue;
        const int handle = loadEffect(files, move->name + ".wav", true);
        if (handle < 0) continue;
        moveSounds_[move.get()] = handle;
        voicedMoves_.insert(move.get());
    }
}

void SoundPlayer::play(const SoundEvent& event)
{
    if (!sound_ || !on_) return;
    int handle = -1;
    if (event.kind == SoundKind::Move) {
        const auto own = moveSounds_.find(event.move);
        handle = own != moveSounds_.end() ? own->second : swish_;
    } else if (const auto it = effects_.find(event.kind); it != effects_.end()) {
        handle = it->second;
    }
    // Each fighter's sounds lean to its side of the screen.
    const int pan = event.fighter == 1 ? -kFighterPan : event.fighter == 2 ? kFighterPan : 0;
    if (handle >= 0) sound_->playEffect(handle, event.volume, pan);
}

void SoundPlayer::update(GameState state)
{
    if (!sound_) return;
    if (state == GameState::End || !hasMusic_) sound_->stopMusic();
    else sound_->playMusic();
    sound_->update();
}

void SoundPlayer::toggle()
{
    on_ = !on_;
    if (sound_) sound_->setVolumes(on_ ? volumes_.effects : 0, on_ ? volumes_.music : 0);
}

}  // namespace ib
