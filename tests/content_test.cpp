#include "content/content.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>

#include "content/content_error.h"
#include "content/spark_pictures.h"
#include "support/fixtures.h"

namespace ib {
namespace {

using test::writeFile;

class ContentTest : public ::testing::Test {
protected:
    test::ScratchDir dir;
    std::shared_ptr<DisplayDevice> device = std::make_shared<DisplayDevice>();
    ImageRegistry registry;
    LoadContext ctx{*device, registry};

    void SetUp() override
    {
        test::writeSolidTga("pic.tga", 4, 4, 0x7C00);
        test::writeSolidTga("pic.mask.tga", 4, 4, 0x7FFF);
    }
    static void frame(const std::string& name, int duration)
    {
        writeFile(name + ".Frame", "pic\n" + std::to_string(duration) + "\n");
    }
    // A Move playing a one-frame Animation of its own name.
    static void move(const std::string& name, const std::string& rest = "")
    {
        frame(name + "-f", 100);
        writeFile(name + ".Animation", "0\n" + name + "-f\n");
        writeFile(name + ".Move", name + "\n" + rest);
    }
    static std::string messageOf(const std::function<void()>& load)
    {
        try {
            load();
        } catch (const ContentError& e) {
            return e.what();
        }
        return "(loaded)";
    }
};

std::vector<int> fields(const Frame& f)
{
    return {f.duration, f.hotspotX, f.hotspotY, f.dx, f.dy, f.frontColumn, f.backColumn};
}

TEST_F(ContentTest, FrameLines)
{
    writeFile("f.Frame", "pic\r\n100\r\n12,5\r\n-4,0\r\n3,9\r\nmore\r\n");
    EXPECT_EQ(fields(*loadFrame(ctx, "f")), std::vector<int>({100, 12, 5, -4, 0, 3, 9}));
    writeFile("short.Frame", "pic\n7\n1 ,2\n3\n");  // four lines
    EXPECT_EQ(fields(*loadFrame(ctx, "short")), std::vector<int>({7, 1, 0, 3, 0, 0, 0}));
    writeFile("blank.Frame", "pic \n1\n");
    EXPECT_EQ(messageOf([&] { loadFrame(ctx, "blank"); }), "Image not found <pic >");
    writeFile("empty.Frame", "");
    EXPECT_EQ(messageOf([&] { loadFrame(ctx, "empty"); }), "Image not found <>");
    writeFile("nul.Frame", std::string("pi\0c\n1\n", 7));  // the whole name is shown
    EXPECT_EQ(messageOf([&] { loadFrame(ctx, "nul"); }), "Image not found <pi\\x00c>");
}

// A name read from a damaged or foreign file is shown so a person can read
// it: unprintable bytes as \xNN, at most 200 characters, the words intact.
TEST_F(ContentTest, MessagesShowNamesReadably)
{
    std::string binary;
    for (int i = 0; i < 1500; ++i) binary += static_cast<char>((i * 37 + 11) % 256);
    std::replace(binary.begin(), binary.end(), '\n', '\xFF');  // one long first line
    writeFile("quill.Character", binary + "\n");
    const std::string shown = messageOf([&] { loadCharacter(ctx, "quill"); });
    ASSERT_EQ(shown.rfind("Animation file read error <", 0), 0u) << shown;
    EXPECT_NE(shown.find("..."), std::string::npos) << shown;
    for (char c : shown) EXPECT_TRUE(c >= 0x20 && c < 0x7F) << shown;
    EXPECT_LT(shown.size(), 27 + 200 * 4 + 4);
    EXPECT_EQ(printableName("caf\xC3\xA9 \xC3 \\ \x7F"), "caf\xC3\xA9 \\xC3 \\x5C \\x7F");
    EXPECT_EQ(printableName(std::string(200, 'a')), std::string(200, 'a'));
    EXPECT_EQ(printableName(std::string(201, 'a')), std::string(200, 'a') + "...");
}

// Content that loads but surely is not what its author meant is said once
// per file and line, and read exactly as before.
TEST_F(ContentTest, WarningsForNumberlessLinesAndBlankEndedNames)
{
    ContentWarnings warnings(nullptr);
    registry.warnings = &warnings;
    test::writeSolidTga("pic .tga", 4, 4, 0x7C00);
    test::writeSolidTga("pic .mask.tga", 4, 4, 0x7FFF);
    std::filesystem::resize_file("pic .tga", 18 + 20);  // 10 of its 16 pixels
    std::filesystem::resize_file("pic .mask.tga", 18 + 31);
    writeFile("w.Frame", "pic \n100 ms\nx\n3\n");  // line 5 is missing
    writeFile("w.Animation", "loop\nw\n");
    writeFile("w.Move", "w\nfast!!\nlots\n");
    for (int i = 0; i < 2; ++i) {
        auto m = loadMove(ctx, "w");
        EXPECT_EQ(std::make_pair(m->priority, m->damage), std::make_pair(0, 0.0));
        EXPECT_EQ(fields(*m->animation->frames[0]), std::vector<int>({100, 0, 0, 3, 0, 0, 0}));
    }
    EXPECT_EQ(warnings.said(),
              (std::vector<std::string>{
                  "w.Animation line 1: \"loop\" holds no number; read as 0 (plays once)",
                  "pic .tga: the file holds 20 of the 32 pixel bytes its header asks for; the missing "
                  "pixels are black",
                  "pic .mask.tga: the file holds 31 of the 32 pixel bytes its header asks for; the "
                  "missing cells neither strike nor can be struck",
                  "w.Frame line 1: the name \"pic \" ends in blanks, which are part of it: the file "
                  "\"pic .tga\" is read",
                  "w.Frame line 3: \"x\" holds no number; read as 0,0",
                  "w.Frame line 5: an empty line holds no number; read as 0,0",
                  "w.Move line 2: \"fast!!\" holds no number; read as 0",
                  "w.Move line 3: \"lots\" holds no number; read as 0"}));
}

TEST_F(ContentTest, MissingFileMessages)
{
    writeFile("jab.move", "");  // names are case-sensitive
    EXPECT_EQ(messageOf([&] { loadFrame(ctx, "jab1"); }), "Frame file read error <jab1>");
    EXPECT_EQ(messageOf([&] { loadAnimation(ctx, "jab"); }), "Animation file read error <jab.Animation>");
    EXPECT_EQ(messageOf([&] { loadMove(ctx, "jab"); }), "Move file read error <jab>");
    EXPECT_EQ(messageOf([&] { loadCharacter(ctx, "rook"); }), "Character file read error <rook>");
    EXPECT_EQ(messageOf([&] { loadLevel(ctx, "desert"); }), "Level file read error <desert>");
}

TEST_F(ContentTest, AnimationTimingAndList)
{
    frame("a", 100), frame("b", 50), frame("c", 100), frame("z", 0);
    writeFile("once.Animation", "no number\na\nz\nb\nc\n\n \n");
    auto once = loadAnimation(ctx, "once");
    ASSERT_EQ(once->frameCount, 4);
    EXPECT_EQ(once->loops, 0);
    EXPECT_EQ(once->totalDuration, 250);
    const Frame *a = once->frames[0].get(), *b = once->frames[2].get(), *c = once->frames[3].get();
    const std::pair<int, const Frame*> cases[] = {{-5, a},  {99, a},  {100, b},  {149, b},
                                                  {150, c}, {249, c}, {250, nullptr}};
    for (auto [t, expected] : cases) EXPECT_EQ(once->frameAt(t), expected) << t;

    writeFile("loop.Animation", "1\na\nb\nc\na\n");
    auto loop = loadAnimation(ctx, "loop");
    EXPECT_EQ(loop->frameAt(350), loop->frames[0].get());
    EXPECT_EQ(loop->frameAt(520), loop->frames[2].get());
    EXPECT_NE(loop->frames[0]->image.get(), loop->frames[3]->image.get());  // loaded twice
    EXPECT_EQ(loop->frames[0]->image->surface, loop->frames[3]->image->surface);

    writeFile("still.Animation", "1\nz\n");  // loops with no length: nothing to show
    EXPECT_EQ(loadAnimation(ctx, "still")->frameAt(-2147483647 - 1), nullptr);
    writeFile("gap.Animation", "0\na\n\nb\n");
    EXPECT_EQ(messageOf([&] { loadAnimation(ctx, "gap"); }), "Frame file read error <>");
}

TEST_F(ContentTest, MoveStepLines)
{
    move("m", "3\n12.5\nd\nDf\nfa\nFf\n-\nfk-d\n*\nh*\nf k\nfk20,30\nf 20\nx\nv\n\n");
    auto m = loadMove(ctx, "m");
    EXPECT_EQ(m->priority, 3);
    EXPECT_EQ(m->damage, 12.5);
    const std::vector<ButtonSet> oldestFirst = {
        {4}, {1, 4}, {1, 6}, {1}, {}, {4}, {10}, {7, 10}, {1}, {1, 5}, {1}, {}, {9}};
    ASSERT_EQ(m->stepCount, 13);
    for (int i = 0; i < 13; ++i) EXPECT_EQ(m->steps[12 - i], oldestFirst[i]) << "line " << i;
    EXPECT_EQ(std::make_pair(m->stepValueA[3], m->stepValueB[3]), std::make_pair(20, 30));
    EXPECT_EQ(m->stepValueA[2], 20);

    move("gap", "x\nnan\nf\n\nb\na\n");  // a blank step is read, the last line is not
    m = loadMove(ctx, "gap");
    EXPECT_EQ(std::make_pair(m->priority, m->damage), std::make_pair(0, 0.0));
    EXPECT_EQ(m->steps, (std::vector<ButtonSet>{{2}, {}, {1}}));

    frame("z", 0);
    writeFile("zero.Animation", "1\nz\nz\n");
    writeFile("zero.Move", "zero\n");
    EXPECT_EQ(messageOf([&] { loadMove(ctx, "zero"); }), "Animation has no frame to show <zero.Animation>");
    writeFile("bare.Animation", "0\n");
    writeFile("bare.Move", "bare\n");
    EXPECT_EQ(messageOf([&] { loadMove(ctx, "bare"); }), "Animation has no frame to show <bare.Animation>");
    // Negative durations that leave nothing at time 0, or a loop of no length.
    frame("n300", -300), frame("p100", 100), frame("n100", -100);
    for (const char* list : {"0\nn300\np100\n", "1\nn300\np100\n", "1\np100\nn100\n"}) {
        writeFile("neg.Animation", list);
        writeFile("neg.Move", "neg\n");
        EXPECT_EQ(messageOf([&] { loadMove(ctx, "neg"); }), "Animation has no frame to show <neg.Animation>")
            << list;
    }
    writeFile("neg.Animation", "1\np100\nn100\np100\n");  // 100 ms a loop, a Frame at every time
    EXPECT_EQ(messageOf([&] { loadMove(ctx, "neg"); }), "(loaded)");
}

TEST_F(ContentTest, CharacterMovesAndLoadOrder)
{
    move("one"), move("two"), move("three");
    writeFile("c.Character", "one\none\ntwo\nthree\n\n\n");
    auto c = loadCharacter(ctx, "c");
    ASSERT_EQ(c->moves.size(), 3u);
    EXPECT_EQ(c->moveCount, 2);
    EXPECT_EQ(c->defaultMove()->name, "three");

    writeFile("gap.Character", "one\ntwo\n\nthree\n");
    EXPECT_EQ(messageOf([&] { loadCharacter(ctx, "gap"); }), "Move file read error <>");
    writeFile("none.Character", "one\n \n");
    EXPECT_EQ(messageOf([&] { loadCharacter(ctx, "none"); }), "Character file lists no move <none>");
    // With two files missing, the one loaded first is named.
    writeFile("lost.Character", "nowhere\nghost\n");
    EXPECT_EQ(messageOf([&] { loadCharacter(ctx, "lost"); }), "Animation file read error <nowhere.Animation>");
    test::writeSolidTga("nomask.tga", 2, 2, 0);
    writeFile("broken-f.Frame", "nomask\n100\n");
    writeFile("broken.Animation", "0\nbroken-f\n");
    writeFile("broken.Move", "broken\n");
    writeFile("deep.Character", "one\nbroken\nghost\n");
    EXPECT_EQ(messageOf([&] { loadCharacter(ctx, "deep"); }), "Image mask not found <nomask>");
}

// A Character's own spark pictures win over the shared ones; one that is
// there but unusable stops the load, naming the file.
TEST_F(ContentTest, SparkPictures)
{
    move("stand");
    for (const char* name : {"a", "b"}) writeFile(std::string(name) + ".Character", "stand\nstand\n");
    auto a = loadCharacter(ctx, "a");
    EXPECT_EQ(a->spark, nullptr);  // none anywhere: the game draws its own
    test::writeSolidTga("spark.tga", 5, 5, 0x03E0);
    test::writeSolidTga("block-spark.tga", 7, 3, 0x001F);
    test::writeSolidTga("a.spark.tga", 9, 9, 0x7C00);
    a = loadCharacter(ctx, "a");
    auto b = loadCharacter(ctx, "b");
    ASSERT_NE(a->spark, nullptr);
    ASSERT_NE(b->spark, nullptr);
    EXPECT_EQ(a->spark->width(), 9);
    EXPECT_EQ(b->spark->width(), 5);
    ASSERT_NE(a->blockSpark, nullptr);
    EXPECT_EQ(a->blockSpark->width(), 7);
    EXPECT_TRUE(a->spark->hasColorKey());

    writeFile("b.block-spark.tga", "");
    EXPECT_EQ(messageOf([&] { loadCharacter(ctx, "b"); }), "Spark picture not usable <b.block-spark.tga>");
    std::filesystem::create_directory("b.spark.tga");
    EXPECT_EQ(messageOf([&] { loadCharacter(ctx, "b"); }), "Spark picture not usable <b.spark.tga>");
    std::filesystem::remove("b.spark.tga");
    std::filesystem::remove("b.block-spark.tga");
    test::writeSolidTga("spark.tga", kMaxSparkSide + 1, 2, 0);
    ImageRegistry fresh;  // the registry keeps the picture it read first
    LoadContext again{*device, fresh};
    EXPECT_EQ(messageOf([&] { loadCharacter(again, "b"); }), "Spark picture not usable <spark.tga>");
}

TEST_F(ContentTest, LevelLayoutAndMessages)
{
    writeFile("l.level", "400\r\n20,620\r\npanel\r\nbar\r\n10,20\r\n590, 20\r\n");
    EXPECT_EQ(messageOf([&] { loadLevel(ctx, "l"); }), "Level background not found <l.background.tga>");
    test::writeSolidTga("l.background.tga", 640, 480, 0x0001);
    EXPECT_EQ(messageOf([&] { loadLevel(ctx, "l"); }), "Level foreground not found <l.foreground.tga>");
    test::writeSolidTga("l.foreground.tga", 640, 480, test::kTgaMagenta);
    EXPECT_EQ(messageOf([&] { loadLevel(ctx, "l"); }), "Level panel not found <panel.tga>");
    test::writeSolidTga("panel.tga", 800, 60, 0x0001);
    EXPECT_EQ(messageOf([&] { loadLevel(ctx, "l"); }), "Level health bar not found <bar.tga>");
    test::writeSolidTga("bar.tga", 200, 12, 0x0001);

    auto level = loadLevel(ctx, "l");
    EXPECT_EQ(level->layerRect, (Rect{0, 0, 639, 479}));
    EXPECT_EQ(level->panelRect, (Rect{0, 0, 799, 59}));
    EXPECT_EQ(std::vector<int>({level->layerX, level->layerY, level->playHeight, level->leftBound,
                                level->rightBound, level->healthBarWidth, level->healthBarHeight,
                                level->bar1X, level->bar1Y, level->bar2X, level->bar2Y}),
              std::vector<int>({80, 60, 400, 100, 700, 200, 12, 10, 20, 590, 20}));
    EXPECT_EQ(level->foreground->colorKey(), level->foreground->pixel(0, 0));
    EXPECT_FALSE(level->background->hasColorKey());

    test::writeSolidTga("wide.background.tga", 1001, 2, 0);
    test::writeSolidTga("wide.foreground.tga", 1, 1, 0);
    for (const char* walls : {"20", "20 ,620", ""}) {
        writeFile("wide.level", "0\n" + std::string(walls) + "\npanel\nbar\n");
        EXPECT_EQ(messageOf([&] { loadLevel(ctx, "wide"); }), "Level walls not readable <wide.level>");
    }
}

// A picture that every fight frame copies to a place off the screen would
// drop every frame: such a Level is refused at start-up.
TEST_F(ContentTest, LevelPicturesMustFitTheScreen)
{
    test::writeSolidTga("panel.tga", 800, 60, 0x0001);
    test::writeSolidTga("bar.tga", 200, 12, 0x0001);
    int levels = 0;  // pictures are read once per path: a new level each time
    const auto level = [&](int bw, int bh, int fw, int fh, const std::string& rest) {
        const std::string name = "l" + std::to_string(++levels);
        test::writeSolidTga(name + ".background.tga", bw, bh, 0x0001);
        test::writeSolidTga(name + ".foreground.tga", fw, fh, test::kTgaMagenta);
        writeFile(name + ".level", "400\n20,620\n" + rest);
        std::string said = messageOf([&] { loadLevel(ctx, name); });
        for (auto at = said.find(name); at != std::string::npos; at = said.find(name)) said.replace(at, name.size(), "l");
        return said;
    };
    const std::string bars = "panel\nbar\n10,20\n590,20\n";
    EXPECT_EQ(level(801, 601, 801, 601, bars), "(loaded)");
    EXPECT_EQ(level(1001, 601, 1001, 601, bars), "Level picture does not fit the screen <l.background.tga>");
    EXPECT_EQ(level(801, 602, 801, 602, bars), "Level picture does not fit the screen <l.background.tga>");
    EXPECT_EQ(level(801, 601, 700, 500, bars), "Level picture does not fit the screen <l.foreground.tga>");
    test::writeSolidTga("wide.tga", 802, 60, 0x0001);
    EXPECT_EQ(level(801, 601, 801, 601, "wide\nbar\n10,20\n590,20\n"),
              "Level picture does not fit the screen <wide.tga>");
    EXPECT_EQ(level(801, 601, 801, 601, "panel\nbar\n10,20\n602,20\n"),
              "Level health bars do not fit the screen <l.level>");
    EXPECT_EQ(level(801, 601, 801, 601, "panel\nbar\n-1,20\n590,20\n"),
              "Level health bars do not fit the screen <l.level>");
    EXPECT_EQ(level(801, 601, 801, 601, "panel\nbar\n10,589\n590,20\n"),
              "Level health bars do not fit the screen <l.level>");
    EXPECT_EQ(level(801, 601, 801, 601, "panel\nbar\n10,588\n601,20\n"), "(loaded)");
}

}  // namespace
}  // namespace ib
