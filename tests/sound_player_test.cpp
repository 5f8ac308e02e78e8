// The game's side of sound: the volumes file, which file each sound plays,
// missing and broken files (and inkblot-sim's reading of them) and F10. A
// machine without an audio device is RealWindow.SoundIsRecorded's last run.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/sound_config.h"
#include "app/sound_player.h"
#include "platform/headless_platform.h"
#include "platform/recording_sound.h"
#include "platform/sdl_sound.h"
#include "platform/sdl_sound_check.h"
#include "sim/sim.h"
#include "support/fixtures.h"

namespace ib::test {
namespace {

// Counts the times `needle` appears in `text`.
int count(const std::string& text, const std::string& needle)
{
    int n = 0;
    for (auto at = text.find(needle); at != std::string::npos; at = text.find(needle, at + 1)) ++n;
    return n;
}

// One Character whose Moves have these names.
std::vector<std::unique_ptr<Character>> characterWith(const std::vector<std::string>& moves)
{
    std::vector<std::unique_ptr<Character>> out;
    out.push_back(std::make_unique<Character>());
    for (const std::string& name : moves) {
        out.back()->moves.push_back(std::make_unique<Move>());
        out.back()->moves.back()->name = name;
    }
    return out;
}

TEST(SoundConfig, TakesTheVolumesAndNamesEachBrokenLine)
{
    testing::internal::CaptureStderr();
    const SoundVolumes v = parseSoundConfig(
        "# volumes\n[sound]\neffects=30\n music = 75 \nvolume=3\nmusic=101\neffects\n\nmusic=4x\n", "my.ini");
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(v, (SoundVolumes{30, 75}));
    for (const char* line : {"my.ini line 5:", "my.ini line 6:", "my.ini line 7:", "my.ini line 9:"})
        EXPECT_EQ(count(err, line), 1) << line << "\n" << err;
    EXPECT_EQ(count(err, "\n"), 4) << err;

    EXPECT_EQ(readSoundConfig("/no/such/sound.ini"), SoundVolumes{});
    // A sound.ini that cannot be read is named, and the defaults kept.
    ScratchDir dir;
    std::filesystem::create_directory("sound.ini");
    testing::internal::CaptureStderr();
    EXPECT_EQ(readSoundConfig("sound.ini"), SoundVolumes{});
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Inkblot Fighter: sound.ini cannot be read; the default volumes are used\n");
}

TEST(SoundPlayer, MissingFilesAreNamedOnceAndOwnMoveSoundsWin)
{
    ScratchDir dir;
    for (const char* name : {"hit.wav", "swish.wav", "rook-block.wav", "desert.music.wav"}) writeFile(name, "x");
    const auto characters = characterWith({"rook-punch", "rook-block", "rook-walk", "rook-punch"});
    characters[0]->moves[0]->strikes = true;
    RecordingSound sound;
    SoundPlayer player;
    testing::internal::CaptureStderr();
    player.load(sound, ContentFiles(dir.path().string()), "desert", characters, {50, 20});
    const std::string err = testing::internal::GetCapturedStderr();
    for (const char* missing : {"<block.wav>", "<knockout.wav>", "<plip.wav>", "<chime.wav>"})
        EXPECT_EQ(count(err, missing), 1) << missing << "\n" << err;
    // A move without a file of its own is not missing anything.
    EXPECT_EQ(count(err, "\n"), 4) << err;
    EXPECT_EQ(player.voicedMoves(), std::set<const Move*>{characters[0]->moves[1].get()});
    EXPECT_TRUE(sound.musicPlaying() == false && sound.effectsVolume() == 50 && sound.musicVolume() == 20);

    player.play({SoundKind::Move, 1, 100, characters[0]->moves[0].get()});
    player.play({SoundKind::Move, 1, 100, characters[0]->moves[1].get()});
    player.play({SoundKind::Hit, 2, 62});
    player.play({SoundKind::Block, 2, 62});  // no file: silent
    player.update(GameState::Splash);
    EXPECT_TRUE(sound.musicPlaying());
    player.toggle();  // F10
    player.play({SoundKind::Hit, 2, 70});
    EXPECT_EQ(sound.effectsVolume(), 0);
    EXPECT_EQ(sound.musicVolume(), 0);
    player.toggle();
    EXPECT_EQ(sound.effectsVolume(), 50);
    player.update(GameState::End);
    EXPECT_FALSE(sound.musicPlaying());
    // A stage without music is quiet, not the desert's; back on the desert
    // its music plays again.
    testing::internal::CaptureStderr();
    player.useLevelMusic(ContentFiles(dir.path().string()), "harbour");
    EXPECT_NE(testing::internal::GetCapturedStderr().find("<harbour.music.wav>) not found"), std::string::npos);
    player.update(GameState::Fight);
    EXPECT_FALSE(sound.musicPlaying());
    player.useLevelMusic(ContentFiles(dir.path().string()), "desert");
    player.update(GameState::Fight);
    EXPECT_TRUE(sound.musicPlaying());
    const auto path = [&](const char* name) { return ContentFiles(dir.path().string()).pathOf(name); };
    EXPECT_EQ(sound.played(), (std::vector<RecordingSound::Played>{
                                  {path("swish.wav"), 100, -40}, {path("rook-block.wav"), 100, -40},
                                  {path("hit.wav"), 62, 40}}));
}

// The game's speaker names each broken file once, and inkblot-sim reads
// them as the game does: the same files refused with the same words, and
// silent.
TEST(SimSound, BrokenFilesAreNamedAsTheGameNamesThem)
{
    ScratchDir dir;
    std::filesystem::copy(INKBLOT_DATA_DIR, "data", std::filesystem::copy_options::recursive);
    writeFile("data/hit.wav", std::string("RIFF\x04\0\0\0AVI ", 12));  // a RIFF file, but not WAVE
    writeFile("data/block.wav", "");
    writeFile("data/desert.music.wav", "RIFF0000WAVEfmt nothing");
    const ContentFiles files("data");
    auto messages = [&](Sound& sound) {
        SoundPlayer player;
        testing::internal::CaptureStderr();
        player.load(sound, files, "desert", characterWith({"a"}), {});
        player.play({SoundKind::Hit, 1, 100});
        return testing::internal::GetCapturedStderr();
    };
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    SdlSound speaker;
    ASSERT_TRUE(speaker.open());
    const std::string game = messages(speaker);
    EXPECT_EQ(count(game, "could not be read ("), 3) << game;
    EXPECT_EQ(count(game, "\n"), 3) << game;

    HeadlessPlatform platform;
    platform.recordingSound().setFileCheck(sdlSoundFileCheck());
    EXPECT_EQ(messages(platform.sound()), game);
    EXPECT_TRUE(platform.recordingSound().played().empty()) << "hit.wav stays silent";

    // The sim itself, on that content.
    testing::internal::CaptureStderr();
    EXPECT_EQ(sim::runSim({"--data", "data", "--passes", "2"}), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), game);
}

}  // namespace
}  // namespace ib::test
