#include "OakTheme.h"

#include "board/BoardRenderer.h"
#include "model/Positions.h"
#include "model/TPositions.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// Oak's geometry, as its description gives it.
constexpr int TrayX = 278, BarX = 144, RedY = 180, BlueY = 4, BarRedY = 124, BarBlueY = 60;
constexpr int C = oak::CheckerSize;

class RendererTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(oak::Install(dir.path()));
        load(true);
    }

    void load(bool blue)
    {
        TBoardDescription d;
        ASSERT_TRUE(LoadBoardDescription(oak::DescriptionPath(dir.path()), d));
        QString error;
        ASSERT_TRUE(renderer.LoadTheme(dir.path(), d, blue, &error)) << error.toStdString();
    }

    // An empty board with the near side playing O.
    static TPositions empty(int colour = 1)
    {
        TPositions p;
        p.Colour = colour;
        return p;
    }

    QColor at(int x, int y) const { return renderer.CompositionImage().pixelColor(x, y); }
    // The colour in the middle of a picture of the given side placed at a top left corner.
    QColor centre(QPoint topLeft, int side = C) const
    {
        return at(topLeft.x() + side / 2, topLeft.y() + side / 2);
    }

    QTemporaryDir dir;
    BoardRenderer renderer;
};

TEST_F(RendererTest, AnchorsFollowTheDisplayTable)
{
    const std::pair<int, QPoint> expected[] = {
        {-1, {TrayX, RedY}}, {0, {BarX, BarRedY}}, {1, {254, RedY}},  {6, {164, RedY}},
        {7, {124, RedY}},    {12, {34, RedY}},     {13, {34, BlueY}}, {18, {124, BlueY}},
        {19, {164, BlueY}},  {24, {254, BlueY}},   {25, {BarX, BarBlueY}}, {26, {TrayX, BlueY}},
    };
    for (const auto& [display, point] : expected)
        EXPECT_EQ(renderer.PointAnchor(display), point) << "display " << display;
}

TEST_F(RendererTest, EightCheckersLayTheLastThreeOverTheFirst)
{
    const QPoint a(164, RedY);
    const QPoint expected[] = {{164, RedY},         {164, RedY - C},     {164, RedY - 2 * C},
                               {164, RedY - 3 * C}, {164, RedY - 4 * C}, {165, RedY - 4},
                               {165, RedY - C - 4}, {165, RedY - 2 * C - 4}};
    for (int j = 1; j <= 8; ++j)
        EXPECT_EQ(BoardRenderer::StackedCheckerPosition(a, -1, C, j), expected[j - 1]) << j;

    TPositions p = empty();
    p.Board(6) = 8;
    renderer.DrawPosition(p);
    for (const QPoint& corner : expected)
        EXPECT_EQ(centre(corner), oak::Blue);
    // No sixth checker above the column of five, and the round checker leaves its corners.
    EXPECT_EQ(centre({164, RedY - 5 * C}), oak::Board);
    EXPECT_EQ(at(164, RedY), oak::Board);
}

TEST_F(RendererTest, FifteenBorneOffCheckersMakeThreeLayersInTheTray)
{
    TPositions p = empty();
    p.Board(-1) = 15; // the near side's tray
    p.Board(26) = -15;
    renderer.DrawPosition(p);
    for (int layer = 0; layer < 3; ++layer) {
        for (int k = 0; k < 5; ++k) {
            const QPoint low(TrayX + layer, RedY - (k * C + 4 * layer));
            const QPoint high(TrayX + layer, BlueY + (k * C + 4 * layer));
            EXPECT_EQ(BoardRenderer::StackedCheckerPosition({TrayX, RedY}, -1, C, 5 * layer + k + 1), low);
            EXPECT_EQ(centre(low), oak::Blue);
            EXPECT_EQ(centre(high), oak::Red);
        }
    }
    EXPECT_EQ(centre({TrayX, RedY - 5 * C}), oak::Board);
    EXPECT_EQ(centre({TrayX, BlueY + 5 * C}), oak::Board);
}

TEST_F(RendererTest, TheNearSideIsDrawnFromItsOwnNumbering)
{
    TPositions p = empty(-1); // the near side plays X
    p.Board(1) = -2;          // X's checkers on O's 1 point are on the near side's 24 point
    p.Board(6) = 3;
    load(false);
    renderer.DrawPosition(p);
    EXPECT_EQ(centre({254, BlueY}), oak::Red);
    EXPECT_EQ(centre({254, BlueY + C}), oak::Red);
    EXPECT_EQ(centre({254, RedY}), oak::Board);
    // O's 6 point is display 19, upper half: the opponent's (blue) checkers.
    EXPECT_EQ(centre({164, BlueY + 2 * C}), oak::Blue);
}

TEST_F(RendererTest, CubePlacements)
{
    const QPoint centreSpot(4, 92), left(110, 92), right(240, 92), nearOwns(4, 130), farOwns(4, 54);
    const QPoint spots[] = {centreSpot, left, right, nearOwns, farOwns};
    struct Case {
        const char* what;
        int cube, turn, colour;
        bool opponentMayDouble, crawford;
        QPoint where; // null: no cube
    };
    const Case cases[] = {
        {"centred", 1, 0, 1, true, false, centreSpot},
        {"offered by the near side", -2, 1, 1, false, false, left},
        {"offered by the near side playing X", -4, -1, -1, false, false, left},
        {"offered by the far side", -2, -1, 1, false, false, right},
        {"owned by the far side", 4, 1, 1, true, false, farOwns},
        {"owned by the near side", 4, 1, 1, false, false, nearOwns},
        {"starting position", 0, 0, 1, true, false, {}},
        {"beyond the pictures", 128, 0, 1, false, false, {}},
        {"Crawford game", 2, 1, 1, false, true, {}},
        {"Crawford game, centred", 1, 0, 1, true, true, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TPositions p = empty(c.colour);
        p.Cube = c.cube;
        p.Turn = c.turn;
        p.OpponentMayDouble = c.opponentMayDouble;
        p.Crawford = c.crawford;
        renderer.DrawPosition(p);
        for (const QPoint& spot : spots)
            EXPECT_EQ(centre(spot), spot == c.where ? oak::Cube(std::abs(c.cube)) : oak::Board)
                << spot.x() << "," << spot.y();
    }
}

TEST_F(RendererTest, OnlyTheNearSidesDiceAreShown)
{
    const QPoint right1(200, 92), right2(220, 92), left1(60, 92), left2(80, 92);
    const int d = oak::DieSize;
    for (const bool blue : {true, false}) {
        load(blue);
        TPositions p = empty();
        p.PlayerDie1 = 6;
        p.PlayerDie2 = 2;
        p.OpponentDie1 = 5;
        p.OpponentDie2 = 3;
        renderer.DrawPosition(p);
        EXPECT_EQ(centre(right1, d), oak::Die(blue, 6));
        EXPECT_EQ(centre(right2, d), oak::Die(blue, 2));
        EXPECT_EQ(centre(left1, d), oak::Board);
        EXPECT_EQ(centre(left2, d), oak::Board);

        p.PlayerDie1 = p.PlayerDie2 = 0;
        renderer.DrawPosition(p);
        EXPECT_EQ(centre(left1, d), oak::Die(!blue, 5));
        EXPECT_EQ(centre(left2, d), oak::Die(!blue, 3));
        EXPECT_EQ(centre(right1, d), oak::Board);
    }
}

TEST_F(RendererTest, TheTurnIndicatorShowsWhoseTurnItIs)
{
    const QPoint nearTurn(170, 92), farTurn(130, 92);
    const int s = oak::IndicatorSize;
    struct Case {
        int turn, colour;
        QColor nearSpot, farSpot;
    };
    const Case cases[] = {
        {1, 1, oak::IndicatorBlue, oak::Board},
        {-1, -1, oak::IndicatorBlue, oak::Board},
        {-1, 1, oak::Board, oak::IndicatorRed},
        {0, 1, oak::Board, oak::Board},
    };
    for (const Case& c : cases) {
        TPositions p = empty(c.colour);
        p.Turn = c.turn;
        renderer.DrawPosition(p);
        EXPECT_EQ(centre(nearTurn, s), c.nearSpot) << c.turn << " " << c.colour;
        EXPECT_EQ(centre(farTurn, s), c.farSpot) << c.turn << " " << c.colour;
    }
}

TEST_F(RendererTest, EachDrawingReplacesTheLast)
{
    TPositions p = empty();
    SetStartingPosition(p);
    p.Cube = 2;
    p.PlayerDie1 = p.PlayerDie2 = 4;
    renderer.DrawPosition(p);
    EXPECT_EQ(centre({164, RedY}), oak::Blue);
    renderer.DrawPosition(empty());
    EXPECT_EQ(centre({164, RedY}), oak::Board);
    EXPECT_EQ(centre({4, 130}), oak::Board);
    EXPECT_EQ(centre({200, 92}, oak::DieSize), oak::Board);
}

TEST_F(RendererTest, ASlideStartsOnTheLastCheckerAndEndsOnTheNextPlace)
{
    struct Case {
        const char* what;
        int colour, from, fromCount, to, toCount;
        QPoint start, end;
        int side;
    };
    const Case cases[] = {
        {"near side, onto an empty point", 1, 13, 5, 7, 0, {34, BlueY + 4 * C}, {124, RedY}, 1},
        {"near side, onto its own two", 1, 13, 5, 7, 2, {34, BlueY + 4 * C}, {124, RedY - 2 * C}, 1},
        {"far side, from its last one", 1, 1, -1, 5, 0, {254, RedY}, {182, RedY}, -1},
        {"near side playing X", -1, 12, -7, 17, -1, {34, BlueY + C}, {106, RedY - C}, 1},
        {"onto a blot of the other side", 1, 24, 2, 20, -1, {254, BlueY + C}, {182, BlueY + C}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TPositions p = empty(c.colour);
        p.Board(c.from) = c.fromCount;
        p.Board(c.to) = c.toCount;
        const BoardRenderer::CheckerSlide slide = renderer.SlideFor(p, c.from, c.to);
        EXPECT_EQ(slide.start, c.start);
        EXPECT_EQ(slide.end, c.end);
        EXPECT_EQ(slide.side, c.side);
    }
}

TEST_F(RendererTest, AnimationFramesEraseAgainstTheBackground)
{
    TPositions p = empty();
    p.Board(6) = 1;
    renderer.DrawPosition(p);
    renderer.SnapshotBackground();
    const QRect first = renderer.CheckerRect({100, 100});
    const QRect second = renderer.CheckerRect({110, 104});
    EXPECT_EQ(renderer.DrawAnimationFrame(first, first, 1), first);
    EXPECT_EQ(centre(first.topLeft()), oak::Blue);
    EXPECT_EQ(renderer.DrawAnimationFrame(first, second, -1), first.united(second));
    EXPECT_EQ(centre(second.topLeft()), oak::Red);
    EXPECT_EQ(at(102, 108), oak::Board); // the part of the first frame the second left
    EXPECT_EQ(centre({164, RedY}), oak::Blue);
}

TEST_F(RendererTest, WithoutAThemeTheBoardIsPlain)
{
    BoardRenderer plain;
    TPositions p = empty();
    SetStartingPosition(p);
    plain.DrawPosition(p);
    const QImage& image = plain.CompositionImage();
    EXPECT_EQ(image.size(), BoardRenderer::BlankBoardSize);
    EXPECT_EQ(image.pixelColor(0, 0), image.pixelColor(325, 250));
}

} // namespace
