#include "graphics/images.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "content/content_error.h"
#include "graphics/tga_file.h"
#include "support/fixtures.h"

namespace ib {
namespace {

using namespace std::string_literals;
using test::writeSolidTga;
using test::writeTga;

class ImagesTest : public ::testing::Test {
protected:
    test::ScratchDir dir;
    std::shared_ptr<DisplayDevice> device = std::make_shared<DisplayDevice>();
    ImageRegistry registry;

    std::shared_ptr<Surface> load(const std::string& path)
    {
        return loadTgaSurface(*device, registry, path);
    }
};

// Header of a 16-bit TGA asking for w x h, followed by the given pixel bytes.
std::string tgaHeader(int w, int h, const std::string& pixels = "")
{
    std::string bytes(18, '\0');
    bytes[2] = 2;
    bytes[12] = static_cast<char>(w & 0xFF);
    bytes[13] = static_cast<char>(w >> 8);
    bytes[14] = static_cast<char>(h & 0xFF);
    bytes[15] = static_cast<char>(h >> 8);
    bytes[16] = 16;
    return bytes + pixels;
}

TEST_F(ImagesTest, ConvertsColoursAndStoresRowsBottomUp)
{
    const std::uint16_t top[] = {0x7C00, 0x03E0, 0x001F, 0xFFFF, test::kTgaMagenta};
    writeTga("p.tga", 5, 2, [&](int x, int y) { return y == 0 ? top[x] : std::uint16_t{0x0001}; });
    auto surface = load("p.tga");
    ASSERT_TRUE(surface);
    EXPECT_EQ(surface->pixel(0, 0), 0xF800);
    EXPECT_EQ(surface->pixel(1, 0), 0x07C0);
    EXPECT_EQ(surface->pixel(2, 0), 0x001F);
    EXPECT_EQ(surface->pixel(3, 0), 0xFFDF);  // attribute bit dropped, low green bit 0
    EXPECT_EQ(surface->pixel(4, 0), 0xF81F);
    EXPECT_EQ(surface->pixel(0, 1), 0x0001);

    // The magenta key matches what the loader makes of a magenta pixel; so
    // does any other colour.
    EXPECT_EQ(matchColor(*surface, kMagenta), 0xF81Fu);
    EXPECT_EQ(matchColor(*surface, rgb(255, 255, 255)), surface->pixel(3, 0));
    setSourceColorKey(*surface, kMagenta);
    EXPECT_EQ(surface->colorKey(), surface->pixel(4, 0));

    PixelShifts s565 = pixelShifts(PixelFormat{});
    EXPECT_EQ(std::make_tuple(s565.red, s565.green, s565.blue), std::make_tuple(11, 6, 0));
    PixelShifts s555 = pixelShifts(PixelFormat{16, 0x7C00, 0x03E0, 0x001F});
    EXPECT_EQ(std::make_tuple(s555.red, s555.green, s555.blue), std::make_tuple(10, 5, 0));
}

TEST_F(ImagesTest, MaskPlanesComeFromRedAndGreen)
{
    writeTga("m.mask.tga", 3, 2, [](int x, int y) {
        const std::uint16_t row0[] = {0x7FFF, 0x001F, 0x0420};
        return y == 0 ? row0[x] : std::uint16_t{0x0400};
    });
    const HitMask* mask = loadHitMask(registry, "m.mask.tga");
    ASSERT_TRUE(mask);
    EXPECT_EQ(mask->bodyAt(0, 0), 31);
    EXPECT_EQ(mask->strikeAt(0, 0), 31);
    EXPECT_EQ(mask->bodyAt(0, 1), 0);
    EXPECT_EQ(mask->strikeAt(0, 1), 0);
    EXPECT_EQ(mask->bodyAt(0, 2), 1);
    EXPECT_EQ(mask->strikeAt(0, 2), 1);
    EXPECT_EQ(mask->bodyAt(1, 0), 1);  // the file's first row is the bottom row
    EXPECT_EQ(mask->strikeAt(1, 0), 0);
}

TEST_F(ImagesTest, RegistriesShareAndReadEachFileOnce)
{
    EXPECT_FALSE(load("late.tga"));  // a failed path is tried again later
    EXPECT_TRUE(registry.loadedSurfaces.empty());
    writeSolidTga("late.tga", 2, 2, 0x7C00);
    EXPECT_TRUE(load("late.tga"));

    writeSolidTga("a.tga", 2, 2, 0x7C00);
    writeSolidTga("a.mask.tga", 2, 2, 0x7FFF);
    Image first(*device, registry, "a");
    std::filesystem::remove("a.tga");
    std::filesystem::remove("a.mask.tga");
    Image second(*device, registry, "a");  // served from the registries
    EXPECT_EQ(first.surface, second.surface);
    EXPECT_EQ(first.mask, second.mask);
    EXPECT_EQ(registry.loadedSurfaces.size(), 2u);
    EXPECT_EQ(registry.loadedMasks.size(), 1u);
    EXPECT_EQ(second.width, 2);
    EXPECT_TRUE(second.surface->hasColorKey());
    EXPECT_EQ(second.surface->colorKey(), 0xF81F);
}

TEST_F(ImagesTest, ImageMessagesAndSmallMask)
{
    try {
        Image image(*device, registry, "gone");
        FAIL();
    } catch (const ContentError& e) {
        EXPECT_STREQ(e.what(), "Image not found <gone>");
    }
    EXPECT_TRUE(registry.loadedSurfaces.empty());

    writeSolidTga("b.tga", 4, 4, 0x7C00);
    try {
        Image image(*device, registry, "b");
        FAIL();
    } catch (const ContentError& e) {
        EXPECT_STREQ(e.what(), "Image mask not found <b>");
    }

    writeSolidTga("b.mask.tga", 2, 2, 0x7FFF);  // smaller than its picture
    Image image(*device, registry, "b");
    EXPECT_EQ(image.width, 4);
    EXPECT_EQ(image.mask->bodyAt(1, 1), 31);
    EXPECT_EQ(image.mask->bodyAt(3, 3), 0);
    EXPECT_EQ(image.mask->strikeAt(0, 2), 0);
}

TEST_F(ImagesTest, ShortAndOversizedFiles)
{
    // Two of six pixels given: the rest are 0, in the surface and the mask.
    test::writeFile("short.tga", tgaHeader(3, 2, "\x00\x7C\x00\x7C\x00"s));
    auto surface = load("short.tga");
    ASSERT_TRUE(surface);
    EXPECT_EQ(surface->pixel(0, 1), 0xF800);
    EXPECT_EQ(surface->pixel(1, 1), 0xF800);
    EXPECT_EQ(surface->pixel(2, 1), 0);  // half a pixel is no pixel
    EXPECT_EQ(surface->pixel(0, 0), 0);
    const HitMask* mask = loadHitMask(registry, "short.tga");
    ASSERT_TRUE(mask);
    EXPECT_EQ(mask->bodyAt(1, 1), 31);
    EXPECT_EQ(mask->bodyAt(0, 0), 0);

    // A 20-byte file asking for 65535 x 65535 is refused after its header.
    test::writeFile("huge.tga", tgaHeader(65535, 65535, "ab"));
    TgaFile file;
    EXPECT_EQ(readTgaFile("huge.tga", file), TgaRead::TooLarge);
    EXPECT_FALSE(file.bytes);
    EXPECT_FALSE(load("huge.tga"));
    EXPECT_FALSE(loadHitMask(registry, "huge.tga"));
    // At the limit it is made, with a buffer no larger than the file.
    test::writeFile("limit.tga", tgaHeader(4096, 1, "ab"));
    EXPECT_EQ(readTgaFile("limit.tga", file), TgaRead::Ok);
    EXPECT_EQ(file.byteCount, 2u);
    EXPECT_TRUE(load("limit.tga"));
    test::writeFile("over.tga", tgaHeader(1, 4097));
    EXPECT_FALSE(load("over.tga"));
    EXPECT_EQ(registry.loadedSurfaces.size(), 2u);
    EXPECT_EQ(registry.loadedMasks.size(), 1u);
}

TEST_F(ImagesTest, RestoreAndReload)
{
    writeSolidTga("r.tga", 2, 2, 0x7C00);
    auto surface = load("r.tga");
    std::shared_ptr<Surface> primary;
    ASSERT_EQ(device->createSurface(8, 8, primary), DD_OK);
    device->loseSurfaces();
    EXPECT_TRUE(surface->isLost());
    EXPECT_EQ(restoreAllSurfaces(primary.get(), registry), DD_OK);
    EXPECT_FALSE(primary->isLost());
    EXPECT_FALSE(surface->isLost());
    EXPECT_EQ(surface->pixel(1, 1), 0xF800);  // reloaded from the file
    EXPECT_EQ(restoreAllSurfaces(nullptr, registry), DD_OK);

    // The file now claims 8 x 8: only the part inside the surface is written.
    writeTga("r.tga", 8, 8, [](int, int y) { return std::uint16_t(y == 0 ? 0x001F : 0x03E0); });
    EXPECT_EQ(reloadTgaSurface(*surface, "r.tga"), DD_OK);
    EXPECT_EQ(surface->pixel(1, 0), 0x001F);
    EXPECT_EQ(surface->pixel(1, 1), 0x07C0);
    // A shorter file fills what it does not give with 0.
    test::writeFile("r.tga", tgaHeader(2, 2, "\x00\x7C"s));
    EXPECT_EQ(reloadTgaSurface(*surface, "r.tga"), DD_OK);
    EXPECT_EQ(surface->pixel(0, 1), 0xF800);
    EXPECT_EQ(surface->pixel(1, 1), 0);
    // A surface that cannot be locked, or a file that is gone, is left as it is.
    std::uint16_t* pixels;
    std::int32_t pitch;
    ASSERT_EQ(surface->lock(pixels, pitch), DD_OK);
    writeSolidTga("r.tga", 2, 2, 0x001F);
    EXPECT_EQ(reloadTgaSurface(*surface, "r.tga"), DD_OK);
    surface->unlock();
    EXPECT_EQ(surface->pixel(0, 1), 0xF800);
    EXPECT_EQ(reloadTgaSurface(*surface, "nowhere.tga"), DD_OK);
    EXPECT_EQ(surface->pixel(0, 1), 0xF800);
}

}  // namespace
}  // namespace ib
