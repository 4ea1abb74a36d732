#include "board/MousePlay.h"
#include "model/Positions.h"
#include "protocol/GameCommands.h"
#include "records/MatchRecord.h"

#include "../TestApp.h"
#include "../board/OakTheme.h"
#include "../protocol/SessionFixture.h"

#include <cstdlib>
#include <random>
#include <vector>

namespace {

using Counts = std::vector<std::pair<int, int>>;

// The near side's checkers of the standard opening set-up, and the other side's, by display
// index (negative counts are the other side's; display 0 is its bar, 26 its tray).
const Counts Opening{{24, 2}, {13, 5}, {8, 3}, {6, 5}, {1, -2}, {12, -5}, {17, -3}, {19, -5}};

struct Press {
    enum Kind { Drag, Click, Dice } kind;
    int from = 0;
    int to = 0;
    Qt::MouseButton button = Qt::LeftButton;
};

Press drag(int from, int to)
{
    return {Press::Drag, from, to};
}

Press click(int from, Qt::MouseButton button = Qt::LeftButton)
{
    return {Press::Click, from, 0, button};
}

class MousePlayTest : public SessionTest {
protected:
    void SetUp() override
    {
        SessionTest::SetUp();
        ensureApp();
        ASSERT_TRUE(oak::Install(folder.path()));
        session->Settings.DefaultBoard = oak::DescriptionPath(folder.path());
        ASSERT_TRUE(session->Board.ApplyTheme());
        session->Settings.ConfirmDoubles = false;
        ResetMatchRecord(*session);
    }

    // A live game on the user's turn, dice rolled, the board line just read.
    void setPosition(int colour, const Counts& counts, int die1, int die2, int canMove)
    {
        TPositions p;
        p.Player = QStringLiteral("You");
        p.Opponent = QStringLiteral("bob");
        p.MatchLength = 5;
        p.Colour = colour;
        p.Turn = colour;
        p.PlayerDie1 = die1;
        p.PlayerDie2 = die2;
        p.CanMove = canMove;
        p.Cube = 1;
        p.PlayerMayDouble = p.OpponentMayDouble = true;
        for (auto [display, count] : counts)
            p.Board(MirrorIndex(display, colour)) += count * colour;
        session->Playing = true;
        session->CurrentPosition = session->BoardLinePosition = session->CommittedPosition = p;
        if (die1 != 0)
            AppendGameRow(*session);
    }

    const TBoardDescription& theme() const { return session->Board.Renderer.Description(); }

    // A pixel inside the hit area of a display index, next to where its checkers stand.
    QPoint pixelOf(int display) const
    {
        const BoardRenderer& r = session->Board.Renderer;
        const int c = theme().Checker_Size;
        const QPoint aim = r.PointAnchor(display) + QPoint(c / 2, BoardRenderer::RowSign(display) * c / 2 + c / 2);
        QPoint best(-1, -1);
        for (int y = 0; y < theme().BoardSize_Y; ++y) {
            for (int x = 0; x < theme().BoardSize_X; ++x) {
                if (PointAt(theme(), x, y) != display)
                    continue;
                if (best.x() < 0 || (QPoint(x, y) - aim).manhattanLength()
                                        < (best - aim).manhattanLength())
                    best = QPoint(x, y);
            }
        }
        return best;
    }

    QPoint ownDice() const
    {
        const TBoardDescription& d = theme();
        return {d.Dice1_Right_X + 4, d.Dice_Y + 4};
    }

    void play(const Press& press)
    {
        MousePlay& m = session->Mouse;
        if (press.kind == Press::Dice) {
            m.IBoardMouseDown(Qt::LeftButton, ownDice().x(), ownDice().y());
            m.IBoardMouseUp(Qt::LeftButton, ownDice().x(), ownDice().y());
            return;
        }
        const QPoint a = pixelOf(press.from);
        m.IBoardMouseDown(press.button, a.x(), a.y());
        if (press.kind == Press::Click) {
            m.IBoardMouseMove(a.x() + 3, a.y() - 3); // inside the dead zone
            m.IBoardMouseUp(press.button, a.x() + 3, a.y() - 3);
            return;
        }
        const QPoint b = press.to == MoveRefused ? QPoint(theme().BoardSize_X / 2 - 20, theme().BoardSize_Y / 2)
                                                 : pixelOf(press.to);
        m.IBoardMouseMove(a.x() + 10, a.y());
        m.IBoardMouseMove((a.x() + b.x()) / 2, (a.y() + b.y()) / 2);
        m.IBoardMouseMove(b.x(), b.y());
        m.IBoardMouseUp(press.button, b.x(), b.y());
    }

    QByteArray sent()
    {
        rec.clock.runUntilIdle();
        return rec.link.sent;
    }

    int own(int display) const
    {
        const TPositions& p = session->CurrentPosition;
        return p.Board(MirrorIndex(display, p)) * p.Colour;
    }

    // Checkers of each side anywhere on the board, bars and trays included.
    std::pair<int, int> checkerCounts() const
    {
        int near = 0;
        int far = 0;
        const TPositions& p = session->CurrentPosition;
        for (int i = -1; i <= 26; ++i)
            (p.Board(i) * p.Colour > 0 ? near : far) += std::abs(p.Board(i));
        return {near, far};
    }
};

TEST_F(MousePlayTest, HitAreasOfTheTheme)
{
    const TBoardDescription& d = theme();
    // Oak: columns from the tray (278) leftwards, 18 pixels apart, the bar at 144..163.
    const struct {
        int x, y, expected;
    } cases[] = {
        {256, 10, 24},  {240, 10, 23},  {166, 10, 19},  {146, 10, 0}, {126, 10, 18},
        {36, 10, 13},   {36, 190, 12},  {126, 190, 7},  {166, 190, 6}, {256, 190, 1},
        {280, 190, -1}, {280, 10, 26},  {150, 100, 25}, {150, 40, 0},  {100, 100, -2},
        {256, 100, -2}, {290, 100, -2}, {278 + 16, 190, -2},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PointAt(d, c.x, c.y), c.expected) << c.x << "," << c.y;

    EXPECT_TRUE(InRollArea(d, 200, 100));
    EXPECT_FALSE(InRollArea(d, 100, 100)); // the other half
    EXPECT_FALSE(InRollArea(d, 200, 80));  // the edge of the points
    EXPECT_TRUE(OnCubeAtOne(d, 4, 90));
    EXPECT_TRUE(OnCubeAtOne(d, 20, 110));
    EXPECT_FALSE(OnCubeAtOne(d, 21, 100));
    EXPECT_TRUE(OnOwnedCube(d, 10, 130));
    EXPECT_TRUE(OnOfferedCube(d, 250, 146));
    EXPECT_FALSE(OnOfferedCube(d, 250, 147));
    EXPECT_TRUE(OnOwnDice(d, oak::DieSize, 201, 93));
    EXPECT_TRUE(OnOwnDice(d, oak::DieSize, 239, 107));
    EXPECT_FALSE(OnOwnDice(d, oak::DieSize, 200, 93));
    EXPECT_FALSE(OnOwnDice(d, oak::DieSize, 239, 108));
}

TEST_F(MousePlayTest, CommandNotationAndCellForBothColours)
{
    const Counts barAndHome{{25, 1}, {6, 14}, {19, -2}, {1, -13}};
    const Counts allHome{{4, 2}, {3, 13}, {19, -2}, {20, -13}};
    const struct {
        const char* what;
        int colour;
        Counts counts;
        int die1, die2, canMove;
        std::vector<Press> presses;
        const char* command;
        const char* cell;
    } cases[] = {
        {"two drags", 1, Opening, 6, 4, 2, {drag(13, 7), drag(7, 3)}, "move  13-7 7-3", "64 13/7 7/3 "},
        {"two drags", -1, Opening, 6, 4, 2, {drag(13, 7), drag(7, 3)}, "move  12-18 18-22", "64 13/7 7/3 "},
        {"one drag over both dice", 1, Opening, 6, 4, 2, {drag(13, 3)}, "move  13-7 7-3", "64 13/7 7/3 "},
        {"one drag over both dice", -1, Opening, 6, 4, 2, {drag(13, 3)}, "move  12-18 18-22", "64 13/7 7/3 "},
        {"left click is the first die", 1, Opening, 6, 4, 2,
         {click(13, Qt::LeftButton), click(24, Qt::RightButton)}, "move  13-7 24-20", "64 13/7 24/20 "},
        {"right click is the second die", -1, Opening, 6, 4, 2,
         {click(13, Qt::RightButton), click(13, Qt::RightButton)}, "move  12-16 12-18", "64 13/9 13/7 "},
        {"from the bar", 1, barAndHome, 5, 3, 2, {drag(25, 20), drag(6, 3)}, "move  bar-20 6-3", "53 bar/20 6/3 "},
        {"from the bar", -1, barAndHome, 5, 3, 2, {drag(25, 20), drag(6, 3)}, "move  bar-5 19-22", "53 bar/20 6/3 "},
        {"bearing off", 1, allHome, 4, 2, 2, {drag(4, -1), click(3, Qt::RightButton)}, "move  4-off 3-1", "42 4/off 3/1 "},
        {"bearing off", -1, allHome, 4, 2, 2, {drag(4, -1), click(3, Qt::RightButton)}, "move  21-off 22-24", "42 4/off 3/1 "},
        {"doubles in one drag", 1, Opening, 4, 4, 4, {drag(13, 5), click(6), click(6)},
         "move  13-9 9-5 6-2 6-2", "44 13/9 9/5 6/2 6/2 "},
        {"doubles bear off past the tray", -1, {{4, 1}, {1, 14}, {19, -2}, {20, -13}}, 3, 3, 4,
         {drag(4, -1), click(1), click(1)}, "move  21-24 24-off 24-off 24-off",
         "33 4/1 1/off 1/off 1/off "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.what) + (c.colour == 1 ? " (colour 1)" : " (colour -1)"));
        rec.link.sent.clear();
        setPosition(c.colour, c.counts, c.die1, c.die2, c.canMove);
        for (const Press& press : c.presses)
            play(press);
        EXPECT_EQ(session->Mouse.MovedCount, c.canMove);
        EXPECT_EQ(checkerCounts(), std::make_pair(15, 15));
        play({Press::Dice});
        EXPECT_EQ(sent(), QByteArray(c.command) + "\r\n");
        EXPECT_EQ(session->SGMovesList.Cell(1, session->GameRowCount), QLatin1String(c.cell));
        EXPECT_EQ(LiveGame(*session).PlayerPositions.last().MoveText, QLatin1String(c.cell));
        EXPECT_EQ(session->Status.panel(QStringLiteral("SBJoueur"), 2),
                  QStringLiteral("You ") + QLatin1String(c.command));
        EXPECT_EQ(session->Mouse.MovedCount, 0);
        // The release after the press on the dice opens the next entry.
        EXPECT_EQ(session->Mouse.MoveCommand, QStringLiteral("move "));
        EXPECT_TRUE(session->MoveNotation.isEmpty());
        EXPECT_EQ(session->CurrentPosition.PlayerDie1, 0);
    }
}

TEST_F(MousePlayTest, DragShowsGhostsAndHitsABlot)
{
    setPosition(1, {{13, 5}, {8, 10}, {7, -1}, {9, -2}, {1, -12}}, 6, 4, 2);
    const QPoint a = pixelOf(13);
    MousePlay& m = session->Mouse;
    m.IBoardMouseDown(Qt::LeftButton, a.x(), a.y());
    EXPECT_TRUE(m.PickedUp);
    // Ghosts and the lifted checker wait until the pointer leaves the dead zone.
    EXPECT_TRUE(m.IBoardMouseMove(a.x() + 6, a.y()).isEmpty());
    EXPECT_FALSE(m.GhostsShown);
    EXPECT_EQ(own(13), 5);
    const QRect first = m.IBoardMouseMove(a.x() + 7, a.y());
    EXPECT_EQ(first, QRect(QPoint(0, 0), session->Board.Renderer.BoardSize()));
    EXPECT_TRUE(m.GhostsShown);
    EXPECT_EQ(own(13), 4);
    // 9 is blocked, so the sum goes through 7.
    EXPECT_EQ(m.Ghosts.Ghosts, (std::array<int, 4>{7, MoveRefused, 3, MoveRefused}));
    const QImage& image = session->Board.Renderer.CompositionImage();
    const QPoint ghost = m.GhostPlaces().at(0) + QPoint(8, 8);
    EXPECT_EQ(image.pixelColor(ghost), session->Board.Renderer.Pictures().GhostPicture.pixelColor(8, 8))
        << "the ghost of G1";
    // Later moves repaint only the area the checker left and entered.
    const QRect step = m.IBoardMouseMove(a.x() + 20, a.y() + 30);
    EXPECT_LE(step.width(), 2 * oak::CheckerSize + 20);
    const QPoint b = pixelOf(7);
    m.IBoardMouseUp(Qt::LeftButton, b.x(), b.y());
    EXPECT_EQ(own(7), 1);
    EXPECT_EQ(session->CurrentPosition.Board(MirrorIndex(0, 1)), -1) << "the blot is on the bar";
    EXPECT_EQ(checkerCounts(), std::make_pair(15, 15));
    EXPECT_TRUE(m.Die1Used);
    EXPECT_EQ(m.MoveCommand, QStringLiteral("move  13-7"));
    EXPECT_EQ(rec.sound.played, QStringList{QStringLiteral("Sounds\\chequer.wav")});
}

TEST_F(MousePlayTest, ReleaseOutsideEveryGhostPutsTheCheckerBack)
{
    for (int to : {MoveRefused, 12, 24, 13}) {
        SCOPED_TRACE(to);
        setPosition(1, Opening, 6, 4, 2);
        const TPositions before = session->CurrentPosition;
        play(drag(13, to));
        EXPECT_EQ(session->CurrentPosition, before);
        EXPECT_EQ(session->Mouse.MovedCount, 0);
        EXPECT_EQ(session->Mouse.MoveCommand, QStringLiteral("move "));
        EXPECT_TRUE(session->MoveNotation.isEmpty());
    }
}

TEST_F(MousePlayTest, ClickInsideTheDeadZoneAnimatesOneDie)
{
    setPosition(-1, Opening, 6, 4, 2);
    play(click(13, Qt::RightButton));
    EXPECT_EQ(rec.board.animations, QStringList{QStringLiteral("12-16")});
    EXPECT_TRUE(session->Mouse.Die2Used);
    EXPECT_FALSE(session->Mouse.Die1Used);
    EXPECT_EQ(own(9), 1);
    EXPECT_EQ(session->CommittedPosition, session->CurrentPosition);
    // The second die is spent: a right click falls back on the first.
    play(click(24, Qt::RightButton));
    EXPECT_EQ(rec.board.animations.last(), QStringLiteral("1-7"));
    EXPECT_EQ(session->Mouse.MoveCommand, QStringLiteral("move  12-16 1-7"));
    // Both dice spent: a further click moves nothing.
    play(click(8));
    EXPECT_EQ(rec.board.animations.size(), 2);
}

TEST_F(MousePlayTest, ClickTriesTheOtherDieWhenTheFirstIsRefused)
{
    // From 8 the 6 lands on the blocked 2; the left click plays the 3 instead.
    setPosition(1, {{8, 1}, {6, 14}, {2, -2}, {1, -13}}, 6, 3, 2);
    play(click(8, Qt::LeftButton));
    EXPECT_EQ(session->Mouse.MoveCommand, QStringLiteral("move  8-5"));
    EXPECT_TRUE(session->Mouse.Die2Used);
    EXPECT_FALSE(session->Mouse.Die1Used);
}

TEST_F(MousePlayTest, DicePressedTooEarlySendsNothing)
{
    setPosition(1, Opening, 6, 4, 2);
    play({Press::Dice});
    play(drag(13, 7));
    play({Press::Dice});
    EXPECT_TRUE(sent().isEmpty());
    EXPECT_EQ(session->Mouse.MovedCount, 1);
    play(drag(7, 3));
    play({Press::Dice});
    EXPECT_EQ(sent(), QByteArray("move  13-7 7-3\r\n"));

    // Dice that move nothing: no empty command either.
    rec.link.sent.clear();
    setPosition(1, Opening, 6, 4, 0);
    play(click(13));
    play({Press::Dice});
    play({Press::Dice});
    EXPECT_TRUE(sent().isEmpty());
}

TEST_F(MousePlayTest, PressesBeforeTheRoll)
{
    const TBoardDescription& d = theme();
    const QPoint roll(200, 100);
    const QPoint cube(d.Point[14] + 4, d.Cube_Center_Pos_Y + 4);
    const QPoint offered(d.Cube_Right_Pos_X + 4, d.Cube_Take_Pl1_Y + 4);
    const auto press = [this](QPoint at) {
        session->Mouse.IBoardMouseDown(Qt::LeftButton, at.x(), at.y());
        session->Mouse.IBoardMouseUp(Qt::LeftButton, at.x(), at.y());
    };

    setPosition(1, Opening, 0, 0, 2);
    press(roll);
    EXPECT_EQ(sent(), QByteArray("roll\r\n"));

    rec.link.sent.clear();
    press(cube);
    EXPECT_EQ(sent(), QByteArray("Double\r\n"));
    EXPECT_EQ(session->CurrentPosition.Cube, -2);
    EXPECT_EQ(session->CurrentPosition.Turn, -1);
    EXPECT_EQ(session->SGMovesList.Cell(1, session->GameRowCount), QStringLiteral("Doubles"));
    EXPECT_EQ(LiveGame(*session).PlayerPositions.last().MoveText, QStringLiteral("Doubles"));

    // Not the user's turn: the roll area does nothing.
    rec.link.sent.clear();
    press(roll);
    EXPECT_TRUE(sent().isEmpty());

    // A double pending: only the offered cube answers.
    setPosition(1, Opening, 0, 0, 2);
    session->CurrentPosition.Turn = -1;
    session->CurrentPosition.Cube = -2;
    session->OpponentDoubled = true;
    for (QPoint at : {roll, cube, pixelOf(13), ownDice()})
        press(at);
    EXPECT_TRUE(sent().isEmpty());
    press(offered);
    EXPECT_EQ(sent(), QByteArray("accept\r\n"));
    EXPECT_FALSE(session->OpponentDoubled);
    EXPECT_EQ(session->CurrentPosition.Cube, 2);
    EXPECT_TRUE(session->CurrentPosition.PlayerMayDouble);
    EXPECT_FALSE(session->CurrentPosition.OpponentMayDouble);
    EXPECT_EQ(session->Status.panel(QStringLiteral("SBJoueur"), 2), QStringLiteral("Accept"));
    EXPECT_TRUE(rec.sound.played.contains(QStringLiteral("Sounds\\take.wav")));
}

TEST_F(MousePlayTest, PressOnAStoredPositionOnlyReturnsToTheLiveGame)
{
    setPosition(1, Opening, 0, 0, 2);
    session->ShowingStoredPosition = session->BrowsingOldGame = true;
    session->Mouse.IBoardMouseDown(Qt::LeftButton, 200, 100); // the roll area
    EXPECT_TRUE(sent().isEmpty());
    EXPECT_FALSE(session->ShowingStoredPosition);
    EXPECT_FALSE(session->BrowsingOldGame);
    EXPECT_EQ(session->ShownGame, int(session->Games.size()));
    EXPECT_EQ(session->Mouse.DragSource, MoveRefused);

    setPosition(1, Opening, 6, 4, 2);
    session->ShowingStoredPosition = true;
    const QPoint a = pixelOf(13);
    session->Mouse.IBoardMouseDown(Qt::LeftButton, a.x(), a.y());
    EXPECT_FALSE(session->Mouse.PickedUp);
}

TEST_F(MousePlayTest, ABoardLineDuringTheEntryStartsItAfresh)
{
    setPosition(1, Opening, 6, 4, 2);
    play(drag(13, 7));
    // The server's board (a refresh, say) shows the position without the partial move.
    session->CurrentPosition = session->BoardLinePosition;
    play(drag(13, 9));
    play(drag(9, 3));
    play({Press::Dice});
    EXPECT_EQ(sent(), QByteArray("move  13-9 9-3\r\n"));
}

TEST_F(MousePlayTest, NoMouseSequenceChangesTheNumberOfCheckers)
{
    // Presses, drags and releases anywhere, with Undo now and then: whatever the user does,
    // each side keeps its fifteen checkers.
    std::mt19937 random(20261210);
    const TBoardDescription& d = theme();
    for (int round = 0; round < 40; ++round) {
        const int die1 = int(random() % 6) + 1;
        const int die2 = int(random() % 6) + 1;
        setPosition(round % 2 ? 1 : -1, round % 3 ? Opening : Counts{{25, 2}, {5, 6}, {3, 7}, {4, -2}, {0, -1}, {20, -12}},
                    die1, die2, die1 == die2 ? 4 : 2);
        for (int action = 0; action < 30; ++action) {
            const int x = int(random() % unsigned(d.BoardSize_X));
            const int y = int(random() % unsigned(d.BoardSize_Y));
            const auto button = random() % 2 ? Qt::LeftButton : Qt::RightButton;
            MousePlay& m = session->Mouse;
            m.IBoardMouseDown(button, x, y);
            for (int i = 0; i < int(random() % 4); ++i)
                m.IBoardMouseMove(int(random() % unsigned(d.BoardSize_X)), int(random() % unsigned(d.BoardSize_Y)));
            const int ux = int(random() % unsigned(d.BoardSize_X));
            const int uy = int(random() % unsigned(d.BoardSize_Y));
            m.IBoardMouseUp(button, ux, uy);
            ASSERT_EQ(checkerCounts(), std::make_pair(15, 15)) << "round " << round;
            if (random() % 7 == 0)
                TBUndoClick(*session);
        }
    }
}

} // namespace
