#include "content/images.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "content/content_error.h"
#include "graphics/tga_file.h"
#include "graphics/tga_surface.h"
#include "support/fixtures.h"

namespace ib {
namespace {

using namespace std::string_literals;
using test::writeSolidTga;

class ImagesTest : public ::testing::Test {
protected:
    test::ScratchDir dir;
    std::shared_ptr<DisplayDevice> device = std::make_shared<DisplayDevice>();
    ImageRegistry registry;

    std::shared_ptr<Surface> load(const std::string& path) { return loadTgaSurface(*device, registry, path); }
    std::string imageMessage(const std::string& name)
    {
        try {
            loadImage(*device, registry, name);
        } catch (const ContentError& e) {
            return e.what();
        }
        return "(loaded)";
    }
};

// A TGA header asking for w x h, followed by the given pixel bytes.
std::string tga(int w, int h, const std::string& pixels = "")
{
    std::string bytes(18, '\0');
    bytes[2] = 2;
    bytes[12] = static_cast<char>(w & 0xFF), bytes[13] = static_cast<char>(w >> 8);
    bytes[14] = static_cast<char>(h & 0xFF), bytes[15] = static_cast<char>(h >> 8);
    bytes[16] = 16;
    return bytes + pixels;
}

TEST_F(ImagesTest, RegistriesShareAndImageMessages)
{
    EXPECT_EQ(imageMessage("a"), "Image not found <a>");
    EXPECT_TRUE(registry.loadedSurfaces.empty());
    writeSolidTga("a.tga", 4, 4, 0x7C00);
    EXPECT_EQ(imageMessage("a"), "Image mask not found <a>");  // the picture is tried again
    writeSolidTga("a.mask.tga", 2, 2, 0x7FFF);                 // smaller than its picture
    const Image first = loadImage(*device, registry, "a");
    std::filesystem::remove("a.tga");
    std::filesystem::remove("a.mask.tga");
    const Image second = loadImage(*device, registry, "a");  // served from the registries, not the files
    EXPECT_EQ(first.surface, second.surface);
    EXPECT_EQ(first.mask, second.mask);
    EXPECT_EQ(registry.loadedSurfaces.size(), 1u);
    EXPECT_EQ(second.width, 4);
    EXPECT_EQ(second.surface->colorKey(), 0xF81F);
    EXPECT_EQ(second.mask->bodyAt(1, 1), 31);
    EXPECT_EQ(second.mask->bodyAt(3, 3), 0);
}

TEST_F(ImagesTest, ShortAndOversizedFiles)
{
    // Two and a half of six pixels given: the rest are 0.
    test::writeFile("short.tga", tga(3, 2, "\x00\x7C\x00\x7C\x00"s));
    auto surface = load("short.tga");
    const HitMask* mask = loadHitMask(registry, "short.tga");
    ASSERT_TRUE(surface && mask);
    EXPECT_EQ(surface->pixel(1, 1), 0xF800);
    EXPECT_EQ(surface->pixel(2, 1), 0);
    EXPECT_EQ(mask->bodyAt(1, 1), 31);
    EXPECT_EQ(mask->bodyAt(0, 0), 0);

    // A 20-byte file asking for 65535 x 65535 is refused after its header;
    // at the limit the buffer is no larger than the file.
    test::writeFile("huge.tga", tga(65535, 65535, "ab"));
    TgaFile file;
    EXPECT_EQ(readTgaFile("huge.tga", file), TgaRead::TooLarge);
    EXPECT_FALSE(file.bytes);
    EXPECT_FALSE(load("huge.tga"));
    EXPECT_FALSE(loadHitMask(registry, "huge.tga"));
    test::writeFile("limit.tga", tga(4096, 1, "ab"));
    EXPECT_EQ(readTgaFile("limit.tga", file), TgaRead::Ok);
    EXPECT_EQ(file.byteCount, 2u);
    EXPECT_TRUE(load("limit.tga"));
    test::writeFile("over.tga", tga(1, 4097));
    EXPECT_FALSE(load("over.tga"));
    EXPECT_EQ(registry.loadedSurfaces.size(), 2u);
}

// Pictures and masks of every width up to 40 (the loaders convert many
// pixels at a time, then one by one), every pixel against the file's.
TEST_F(ImagesTest, EveryPixelOfPicturesAndMasksOfEveryWidth)
{
    std::uint32_t seed = 7;
    for (int w = 1; w <= 40; ++w) {
        std::string pixels;
        std::vector<std::uint16_t> values;
        for (int i = 0; i < w * 3; ++i) {
            seed = seed * 1103515245u + 12345u;
            const auto v = static_cast<std::uint16_t>(seed >> 12);
            values.push_back(v);
            pixels += static_cast<char>(v & 0xFF);
            pixels += static_cast<char>(v >> 8);
        }
        const std::string name = "w" + std::to_string(w) + ".tga";
        test::writeFile(name, tga(w, 3, pixels));
        auto surface = load(name);
        const HitMask* mask = loadHitMask(registry, name);
        ASSERT_TRUE(surface && mask);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < w; ++x) {
                const std::uint16_t v = values[static_cast<size_t>((2 - y) * w + x)];
                const int r = (v >> 10) & 31, g = (v >> 5) & 31, b = v & 31;
                ASSERT_EQ(surface->pixel(x, y), (r << 11) | (g << 6) | b) << w << " " << x << "," << y;
                ASSERT_EQ(mask->bodyAt(y, x), r) << w << " " << x << "," << y;
                ASSERT_EQ(mask->strikeAt(y, x), g) << w << " " << x << "," << y;
            }
    }
}

// Reloading a picture whose file changed after it was made. (Every picture
// filled again from its file after a loss: Shell.RetryRuleAnswers, which
// restores the splash picture.)
TEST_F(ImagesTest, RestoreAndReload)
{
    writeSolidTga("r.tga", 2, 2, 0x7C00);
    auto surface = load("r.tga");
    // A file that now claims 8 x 8 writes only what lies inside the surface.
    test::writeTga("r.tga", 8, 8, [](int, int y) { return std::uint16_t(y == 0 ? 0x001F : 0x03E0); });
    EXPECT_EQ(reloadTgaSurface(*surface, "r.tga"), DD_OK);
    EXPECT_EQ(surface->pixel(1, 0), 0x001F);
    EXPECT_EQ(surface->pixel(1, 1), 0x07C0);
    test::writeFile("r.tga", tga(2, 2, "\x00\x7C"s));  // short: the rest becomes 0
    EXPECT_EQ(reloadTgaSurface(*surface, "r.tga"), DD_OK);
    EXPECT_EQ(surface->pixel(0, 1), 0xF800);
    EXPECT_EQ(surface->pixel(1, 1), 0);
    // A locked surface, or a file that is gone, is left as it is.
    std::uint16_t* pixels;
    std::int32_t pitch;
    ASSERT_EQ(surface->lock(pixels, pitch), DD_OK);
    writeSolidTga("r.tga", 2, 2, 0x001F);
    EXPECT_EQ(reloadTgaSurface(*surface, "r.tga"), DD_OK);
    surface->unlock();
    EXPECT_EQ(reloadTgaSurface(*surface, "gone.tga"), DD_OK);
    EXPECT_EQ(surface->pixel(0, 1), 0xF800);
}

}  // namespace
}  // namespace ib
