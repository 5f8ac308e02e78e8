// The generator's sounds in the default content: each a 16-bit PCM mono
// WAV of the length it is made for, neither silent nor clipped, 2 MB at
// most together, and the same bytes from every run of the generator.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

#include "contentgen/sounds.h"
#include "contentgen/wav.h"
#include "support/fixtures.h"
#include "support/trace_file.h"

namespace ib::test {
namespace {

std::uint32_t le(const std::string& b, std::size_t at, int n)
{
    std::uint32_t v = 0;
    for (int i = n - 1; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(b[at + static_cast<std::size_t>(i)]);
    return v;
}

TEST(SoundFiles, EachIsAWholeAudibleUnclippedWav)
{
    std::size_t total = 0;
    for (const contentgen::SoundFile& file : contentgen::kSoundFiles) {
        SCOPED_TRACE(file.name);
        const std::string b = readText(std::string(INKBLOT_DATA_DIR) + "/" + file.name);
        total += b.size();
        // A WAV the game reads: SimSound.BrokenFilesAreNamedAsTheGameNamesThem names
        // only the files it broke. Here what the game's check lets pass.
        ASSERT_GE(b.size(), 44u);
        EXPECT_EQ(le(b, 20, 2), 1u);   // PCM
        EXPECT_EQ(le(b, 22, 2), 1u);   // mono
        EXPECT_EQ(le(b, 24, 4), static_cast<std::uint32_t>(contentgen::kSampleRate));
        EXPECT_EQ(le(b, 34, 2), 16u);  // bits a sample
        const std::uint32_t samples = le(b, 40, 4) / 2;
        EXPECT_EQ(samples, static_cast<std::uint32_t>(contentgen::kSampleRate * file.ms / 1000));
        ASSERT_EQ(b.size(), 44u + samples * 2u);
        int peak = 0;
        for (std::uint32_t i = 0; i < samples; ++i)
            peak = std::max(peak, std::abs(static_cast<int>(static_cast<std::int16_t>(le(b, 44 + 2 * i, 2)))));
        EXPECT_GT(peak, 32767 / 4);
        EXPECT_LT(peak, 32767);
    }
    EXPECT_LE(total, 2u * 1024 * 1024);
}

TEST(SoundFiles, TheGeneratorMakesTheSameBytesEveryRun)
{
    ScratchDir dir;
    for (const char* run : {"one", "two"}) {
        std::filesystem::create_directory(run);
        const std::string command = std::string(INKBLOT_CONTENTGEN) + " " INKBLOT_SOURCE_DIR "/data " + run +
                                    " --sounds-only";
        ASSERT_EQ(std::system(command.c_str()), 0);
    }
    for (const contentgen::SoundFile& file : contentgen::kSoundFiles) {
        const std::string built = readText(std::string(INKBLOT_DATA_DIR) + "/" + file.name);
        EXPECT_EQ(readText(std::string("one/") + file.name), built) << file.name;
        EXPECT_EQ(readText(std::string("two/") + file.name), built) << file.name;
    }
}

}  // namespace
}  // namespace ib::test
