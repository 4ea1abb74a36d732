#include "OakTheme.h"

#include "board/BoardRenderer.h"
#include "board/BoardTheme.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class ThemeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        folder = dir.path();
        ASSERT_TRUE(oak::Install(folder));
    }

    void write(const QString& relative, const QByteArray& text)
    {
        const QString path = folder + QChar('/') + relative;
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

    TBoardDescription oakDescription()
    {
        TBoardDescription d;
        EXPECT_TRUE(LoadBoardDescription(oak::DescriptionPath(folder), d));
        return d;
    }

    QTemporaryDir dir;
    QString folder;
};

TEST_F(ThemeTest, StoredPathsResolveWithoutRegardToCase)
{
    const QString real = folder + "/themes/oak/board.png";
    EXPECT_EQ(ResolveAppPath(folder, "Themes\\Oak\\Board.PNG"), real);
    EXPECT_EQ(ResolveAppPath(folder + "/", "THEMES/oak\\BOARD.png"), real);
    EXPECT_EQ(ResolvePath(folder + "\\themes\\OAK\\board.png"), real);
    // What cannot be found is kept as written, so a message can name it.
    EXPECT_EQ(ResolveAppPath(folder, "Themes\\Oak\\Missing\\x.png"),
              folder + "/themes/oak/Missing/x.png");
    // Where two names differ only in case, the exact one wins.
    write("themes/oak/BOARD.png", "not a picture");
    EXPECT_EQ(ResolveAppPath(folder, "Themes\\Oak\\BOARD.png"), folder + "/themes/oak/BOARD.png");
}

TEST_F(ThemeTest, DescriptionKeysAreReadWithoutRegardToCase)
{
    const TBoardDescription d = oakDescription();
    EXPECT_EQ(d.BoardName, "Oak");
    EXPECT_EQ(d.BoardImage, "Board.PNG");
    EXPECT_EQ(d.BoardSize_X, 300);
    EXPECT_EQ(d.BoardSize_Y, 200);
    EXPECT_EQ(d.Checker_Size, 16);
    EXPECT_EQ(d.Point[10], 88);
    EXPECT_EQ(d.Point[13], 34);
    EXPECT_EQ(d.Point[14], 4);
    EXPECT_EQ(d.Dice_Blue, "Blue?.png");
    EXPECT_EQ(d.Cube_Right_Pos_X, 240);
    EXPECT_EQ(d.Indicator_Red_X, 130);
    EXPECT_EQ(d.PointHeigth, 80);
}

TEST_F(ThemeTest, MissingKeysReadAsTheirDefaults)
{
    write("Themes/Bare/Bare.ini", "[Board]\r\nBoardName=Bare\r\nBoardSize_X=wide\r\nPoint3=33\r\n");
    TBoardDescription d;
    ASSERT_TRUE(LoadBoardDescription(folder + "/Themes/Bare/Bare.ini", d));
    EXPECT_EQ(d.BoardName, "Bare");
    EXPECT_TRUE(d.BoardImage.isEmpty());
    EXPECT_TRUE(d.Checker_Blue.isEmpty());
    EXPECT_EQ(d.BoardSize_X, 0); // not a number
    EXPECT_EQ(d.Checker_Size, 0);
    const std::array<int, 15> points{0, 1, 2, 33, 4, 5, 6, 7, 8, 9, 10, 11, 12, 10, 11};
    EXPECT_EQ(d.Point, points);

    TBoardDescription missing;
    missing.BoardName = "left over";
    QString error;
    EXPECT_FALSE(LoadBoardDescription(folder + "/Themes/None/None.ini", missing, &error));
    EXPECT_EQ(missing, TBoardDescription{});
    EXPECT_TRUE(error.contains("None.ini")) << error.toStdString();
}

TEST_F(ThemeTest, PicturesFollowTheCheckerColour)
{
    const TBoardDescription d = oakDescription();
    for (const bool blue : {true, false}) {
        TBoardPictures p;
        QString error;
        ASSERT_TRUE(LoadBoardPictures(folder, d.BoardName, d, blue, p, &error)) << error.toStdString();
        const QColor own = blue ? oak::Blue : oak::Red;
        const QColor opponent = blue ? oak::Red : oak::Blue;
        EXPECT_EQ(p.OwnCheckerPicture.pixelColor(8, 8), own);
        EXPECT_EQ(p.OpponentCheckerPicture.pixelColor(8, 8), opponent);
        EXPECT_EQ(p.OwnIndicatorPicture.pixelColor(1, 1), blue ? oak::IndicatorBlue : oak::IndicatorRed);
        EXPECT_EQ(p.OpponentIndicatorPicture.pixelColor(1, 1),
                  blue ? oak::IndicatorRed : oak::IndicatorBlue);
        EXPECT_EQ(p.GhostPicture.pixelColor(8, 8),
                  blue ? QColor(128, 128, 255) : QColor(255, 128, 128));
        for (int face = 1; face <= 6; ++face) {
            EXPECT_EQ(p.OwnDicePictures[std::size_t(face)].pixelColor(1, 1), oak::Die(blue, face));
            EXPECT_EQ(p.OpponentDicePictures[std::size_t(face)].pixelColor(1, 1), oak::Die(!blue, face));
        }
        for (int value = 1; value <= 64; value *= 2) {
            ASSERT_NE(p.CubePicture(value), nullptr);
            EXPECT_EQ(p.CubePicture(value)->pixelColor(1, 1), oak::Cube(value)) << value;
        }
        for (int value : {0, 3, 128, -2})
            EXPECT_EQ(p.CubePicture(value), nullptr) << value;
        EXPECT_EQ(p.CompositionImage.size(), QSize(300, 200));
        EXPECT_EQ(p.BackgroundImage.size(), QSize(300, 200));
        EXPECT_EQ(p.CompositionImage.pixelColor(150, 100), oak::Board);
    }
}

TEST_F(ThemeTest, OnlyTheFirstQuestionMarkTakesTheValue)
{
    TBoardDescription d = oakDescription();
    d.Dice_Red = "two?faces?.png";
    for (int face = 1; face <= 6; ++face)
        ASSERT_TRUE(oak::save(oak::solid(oak::DieSize, oak::Die(false, face)),
                              folder + QStringLiteral("/themes/oak/two%1faces?.png").arg(face)));
    TBoardPictures p;
    QString error;
    EXPECT_TRUE(LoadBoardPictures(folder, "Oak", d, true, p, &error)) << error.toStdString();
    EXPECT_EQ(p.OpponentDicePictures[4].pixelColor(1, 1), oak::Die(false, 4));
}

TEST_F(ThemeTest, AFailedPictureNamesItAndKeepsTheThemeInPlace)
{
    BoardRenderer renderer;
    const TBoardDescription good = oakDescription();
    ASSERT_TRUE(renderer.LoadTheme(folder, good, true));

    struct Case {
        const char* what;
        std::function<void(TBoardDescription&)> spoil;
        const char* named;
    };
    const Case cases[] = {
        {"missing cube", [this](TBoardDescription&) { QFile::remove(folder + "/themes/oak/cube16.png"); },
         "cube16.png"},
        {"not a picture", [this](TBoardDescription&) { write("themes/oak/red5.png", "text"); }, "red5.png"},
        {"empty name", [](TBoardDescription& d) { d.Ghost_Blue.clear(); }, "Ghost_Blue"},
        {"no size", [](TBoardDescription& d) { d.BoardSize_Y = 0; }, "0"},
        {"huge size", [](TBoardDescription& d) { d.BoardSize_X = 100000; }, "100000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(oak::Install(folder));
        TBoardDescription d = good;
        c.spoil(d);
        d.BoardName = "Oak";
        QString error;
        EXPECT_FALSE(renderer.LoadTheme(folder, d, true, &error));
        EXPECT_TRUE(error.contains(c.named)) << error.toStdString();
        EXPECT_TRUE(renderer.HasTheme());
        EXPECT_EQ(renderer.Description(), good);
        EXPECT_EQ(renderer.BoardSize(), QSize(300, 200));
    }
}

TEST_F(ThemeTest, ReleasingLeavesThePlainBoard)
{
    BoardRenderer renderer;
    ASSERT_TRUE(renderer.LoadTheme(folder, oakDescription(), true));
    renderer.Release();
    EXPECT_FALSE(renderer.HasTheme());
    EXPECT_TRUE(renderer.Pictures().OwnCheckerPicture.isNull());
    EXPECT_EQ(renderer.BoardSize(), BoardRenderer::BlankBoardSize);
    EXPECT_EQ(renderer.Description(), TBoardDescription{});
}

TEST_F(ThemeTest, ThemesAreListedAndPreviewed)
{
    write("themes/walnut.INI", "[Preview]\r\n");
    write("themes/notes.txt", "not a theme");
    EXPECT_EQ(ListBoardThemes(folder), (QStringList{"Oak", "walnut"}));
    EXPECT_TRUE(ListBoardThemes(folder + "/nowhere").isEmpty());

    const TThemePreview preview = LoadThemePreview(folder, "Oak");
    EXPECT_EQ(preview.Board.size(), QSize(300, 200));
    EXPECT_EQ(preview.BlueChecker.pixelColor(8, 8), oak::Blue);
    EXPECT_EQ(preview.RedChecker.pixelColor(8, 8), oak::Red);
    EXPECT_EQ(preview.About, "Oak test theme, drawn by the tests.");

    const TThemePreview bare = LoadThemePreview(folder, "walnut");
    EXPECT_TRUE(bare.Board.isNull());
    EXPECT_TRUE(bare.About.isEmpty());
}

} // namespace
