// The game's content read from a folder other than the working directory,
// and the fingerprint of what it read.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "content/content_files.h"
#include "support/fixtures.h"
#include "support/tiny_game.h"

namespace ib::test {
namespace {

namespace fs = std::filesystem;

struct FolderRun {
    std::uint64_t fingerprint = 0;
    std::size_t files = 0;
    std::string error;
    bool fighters = false;
};

// Starts the game on the content in folder from an empty working directory.
FolderRun startFrom(const fs::path& folder)
{
    ScratchDir elsewhere;
    TinyRun r({}, 1);
    r.game->content.contentFiles.setFolder(folder.string());
    r.run();
    FolderRun out;
    out.fingerprint = r.game->content.contentFiles.fingerprint();
    out.files = r.game->content.contentFiles.filesRead();
    out.error = r.platform.messageBoxes().empty() ? "" : r.platform.messageBoxes().front();
    out.fighters = r.game->fight.fighter1.has_value() && r.game->fight.fighter2.has_value();
    return out;
}

TEST(ContentFiles, TheGameReadsItsFolderAndFingerprintsEveryByte)
{
    TinyGameDir dir;
    const fs::path folder = dir.path();

    const FolderRun first = startFrom(folder);
    EXPECT_TRUE(first.fighters);
    EXPECT_EQ(first.error, "");
    // level, its pictures, both Characters with their files, screens, quotes
    EXPECT_GT(first.files, 10u);
    EXPECT_EQ(startFrom(folder).fingerprint, first.fingerprint);
    EXPECT_EQ(startFrom(folder.string() + "///").fingerprint, first.fingerprint);

    // One byte of one picture, then of the quotes file.
    auto flipLastByte = [](const fs::path& p) {
        std::fstream f(p, std::ios::in | std::ios::out | std::ios::binary);
        f.seekg(-1, std::ios::end);
        const char c = static_cast<char>(f.get());
        f.seekp(-1, std::ios::end);
        f.put(static_cast<char>(c ^ 1));
    };
    flipLastByte(folder / "splash.tga");
    const std::uint64_t afterPicture = startFrom(folder).fingerprint;
    EXPECT_NE(afterPicture, first.fingerprint);
    flipLastByte(folder / "stuff.quotes");
    EXPECT_NE(startFrom(folder).fingerprint, afterPicture);

    // A missing file is named as the content names it, not by its path.
    fs::remove(folder / "quill.Character");
    const FolderRun broken = startFrom(folder);
    EXPECT_EQ(broken.error, "Character file read error <quill>");
}

// Fighters and stages loaded after start-up count in the fingerprint
// whatever order they came in, and apart from what start-up read.
TEST(ContentFiles, LaterPartsCountInAnyOrder)
{
    auto load = [](ContentFiles& files, const std::string& key, const std::string& bytes) {
        files.openPart(key);
        files.noteRead(key + ".file", bytes.data(), bytes.size());
        files.closePart();
    };
    ContentFiles a, b;
    for (ContentFiles* f : {&a, &b}) {
        load(*f, "fighter:rook", "rook");
        f->startUpDone();
    }
    const std::uint64_t start = a.fingerprint();
    load(a, "fighter:slate", "slate");
    load(a, "stage:harbour", "harbour");
    load(b, "stage:harbour", "harbour");
    load(b, "fighter:slate", "slate");
    EXPECT_EQ(a.fingerprint(), b.fingerprint());
    EXPECT_NE(a.fingerprint(), start);
    EXPECT_EQ(a.startFingerprint(), start);
    EXPECT_EQ(a.partFingerprint("fighter:slate"), b.partFingerprint("fighter:slate"));
    EXPECT_FALSE(a.partFingerprint("fighter:wisp"));
    EXPECT_EQ(a.fingerprintWith({}), start);
    ContentFiles c = b;
    load(c, "fighter:wisp", "wisp");
    EXPECT_EQ(c.fingerprintWith({"fighter:slate", "stage:harbour"}), a.fingerprint());
    ContentFiles other;
    load(other, "fighter:rook", "rook");
    other.startUpDone();
    load(other, "fighter:slate", "slatf");
    load(other, "stage:harbour", "harbour");
    EXPECT_NE(other.fingerprint(), a.fingerprint());
}

}  // namespace
}  // namespace ib::test
