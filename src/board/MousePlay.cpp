#include "board/MousePlay.h"

#include "model/Positions.h"
#include "protocol/ClientSession.h"
#include "protocol/GameCommands.h"
#include "protocol/ScorePanel.h"
#include "records/MatchRecord.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

constexpr int OwnBar = 25;

bool within(int v, int lo, int hi)
{
    return lo <= v && v <= hi;
}

bool ownAt(const TPositions& p, int display)
{
    return p.Board(MirrorIndex(display, p)) * p.Colour > 0;
}

// A step as the server numbers it: the bars are "bar", the trays "off".
QString serverPoint(int server, bool source)
{
    if (source && (server == 0 || server == 25))
        return QStringLiteral("bar");
    if (!source && (server == -1 || server == 26))
        return QStringLiteral("off");
    return QString::number(server);
}

} // namespace

int PointAt(const TBoardDescription& d, int x, int y)
{
    const auto& P = d.Point;
    const int c = d.Checker_Size;
    const int h = d.PointHeigth;
    const bool top = y < h;
    const bool bottom = y > d.BoardSize_Y - h;
    const auto column = [x](int lo, int hi) { return lo <= x && x < hi; };
    int result = MoveRefused;
    if (column(P[1], P[1] + c) && top)
        result = 24;
    for (int i = 2; i <= 6; ++i) {
        if (column(P[i], P[i - 1]) && top)
            result = 25 - i;
    }
    for (int i = 8; i <= 13; ++i) {
        if (column(P[i], P[i - 1]) && top)
            result = 26 - i;
    }
    for (int i = 8; i <= 13; ++i) {
        if (column(P[i], P[i - 1]) && bottom)
            result = i - 1;
    }
    for (int i = 2; i <= 6; ++i) {
        if (column(P[i], P[i - 1]) && bottom)
            result = i;
    }
    if (column(P[1], P[1] + c) && bottom)
        result = 1;
    if (column(P[7], P[6]) && d.Bar_Red_Y - 5 * h < y && y < d.Bar_Red_Y)
        result = 0;
    if (column(P[0], P[0] + c) && bottom)
        result = MoveOff;
    if (column(P[7], P[6]) && d.Bar_Blue_Y < y && y < d.Bar_Red_Y + 5 * h)
        result = OwnBar;
    if (column(P[0], P[0] + c) && top)
        result = 26;
    return result;
}

bool InRollArea(const TBoardDescription& d, int x, int y)
{
    return d.Point[6] < x && x < d.Point[0] && d.PointHeigth < y
        && y < d.BoardSize_Y - d.PointHeigth;
}

bool OnCubeAtOne(const TBoardDescription& d, int x, int y)
{
    return within(x, d.Point[14], d.Point[14] + d.Checker_Size)
        && within(y, d.Cube_Center_Pos_Y - 2, d.Cube_Center_Pos_Y + d.Checker_Size + 2);
}

bool OnOwnedCube(const TBoardDescription& d, int x, int y)
{
    return within(x, d.Point[14], d.Point[14] + d.Checker_Size)
        && within(y, d.Cube_Take_Pl1_Y, d.Cube_Take_Pl1_Y + d.Checker_Size);
}

bool OnOfferedCube(const TBoardDescription& d, int x, int y)
{
    return within(x, d.Cube_Right_Pos_X, d.Cube_Right_Pos_X + d.Checker_Size)
        && within(y, d.Cube_Take_Pl1_Y, d.Cube_Take_Pl1_Y + d.Checker_Size);
}

bool OnOwnDice(const TBoardDescription& d, int dieHeight, int x, int y)
{
    return d.Dice1_Right_X < x && x < 2 * d.Dice2_Right_X - d.Dice1_Right_X && d.Dice_Y < y
        && y < d.Dice_Y + dieHeight + 2;
}

MousePlay::MousePlay(ClientSession& session) : session_(session) {}

const TBoardDescription& MousePlay::theme() const
{
    return session_.Board.Renderer.Description();
}

void MousePlay::ResetTurnEntry()
{
    MoveCommand.clear();
    Ghosts = TDestinations{};
    MovedCount = 0;
    Die1Used = Die2Used = false;
}

bool MousePlay::positionReplaced() const
{
    // A board line that came in while a move was being entered shows the server's position:
    // the steps entered so far no longer describe what is on the board.
    return MovedCount > 0 && session_.CurrentPosition != builtPosition_;
}

QRect MousePlay::IBoardMouseDown(Qt::MouseButton button, int x, int y)
{
    Q_UNUSED(button);
    ClientSession& s = session_;
    if (!s.IsConnected())
        return {};
    if (s.ShowingStoredPosition) {
        s.ShownGame = int(s.Games.size());
        RebuildMovesList(s, s.ShownGame);
        s.BrowsingOldGame = s.ShowingStoredPosition = false;
        s.SGMovesList.SetCurrentCell(1, std::max(1, s.SGMovesList.RowCount() - 2));
        s.CBGames.SetItemIndex(s.ShownGame - 1);
        s.Board.DrawPosition(s.CurrentPosition);
        ShowScorePanel(s);
        DragSource = MoveRefused;
        return {};
    }
    if (!s.Playing)
        return {};
    const TPositions& p = s.CurrentPosition;
    const TBoardDescription& d = theme();
    if (p.Turn != p.Colour || p.PlayerDie1 == 0) {
        const bool ownTurn = p.Turn == p.Colour;
        if (ownTurn && !s.OpponentDoubled) {
            if (InRollArea(d, x, y))
                s.SendCommand(QStringLiteral("roll"));
            else if ((p.Cube == 1 && OnCubeAtOne(d, x, y)) || (p.Cube > 1 && OnOwnedCube(d, x, y)))
                DoubleRequest(s);
            ResetTurnEntry();
        }
        if (s.OpponentDoubled && OnOfferedCube(d, x, y))
            AcceptOfferedCube(s);
        return {};
    }
    // A checker still sliding from the last click is not on its point yet.
    if (s.Board.Moving())
        return {};
    if (positionReplaced()) {
        ResetTurnEntry();
        s.MoveNotation.clear();
    }
    Dragging = PickedUp = DragStarted = false;
    Ghosts = TDestinations{};
    DownX = x;
    DownY = y;
    DragSource = PointAt(d, x, y);
    const bool barOccupied = ownAt(p, OwnBar);
    const bool onBoard = DragSource >= 1 && DragSource <= OwnBar;
    if (onBoard && ownAt(p, DragSource) && (DragSource == OwnBar || !barOccupied)) {
        PickedUp = Dragging = true;
        GhostsShown = false;
        LastDragPoint = QPoint(0, 0);
    }
    // A move without a single step is nothing to send.
    if (MovedCount > 0 && MovedCount == p.CanMove
        && OnOwnDice(d, s.Board.Renderer.Pictures().OwnDicePictures[1].height(), x, y))
        SendMove(s);
    return {};
}

QRect MousePlay::IBoardMouseMove(int x, int y)
{
    if (!session_.Playing || !PickedUp)
        return {};
    if (!DragStarted) {
        if (std::abs(x - DownX) <= DeadZone && std::abs(y - DownY) <= DeadZone)
            return {};
        DragStarted = true;
        return {};
    }
    QRect changed;
    if (!GhostsShown) {
        liftAndShowGhosts();
        changed = QRect(QPoint(0, 0), session_.Board.Renderer.BoardSize());
    }
    if (Dragging)
        changed = changed.united(dragFrame(x, y));
    return changed & QRect(QPoint(0, 0), session_.Board.Renderer.BoardSize());
}

void MousePlay::liftAndShowGhosts()
{
    ClientSession& s = session_;
    Ghosts = DestinationSet(s.CurrentPosition, DragSource, MovedCount, Die1Used, Die2Used);
    s.CommittedPosition = s.CurrentPosition;
    LiftChecker(s.CurrentPosition, DragSource);
    s.Board.DrawPosition(s.CurrentPosition);
    BoardRenderer& renderer = s.Board.Renderer;
    renderer.DrawGhosts(GhostPlaces());
    renderer.SnapshotBackground();
    GhostsShown = true;
}

QVector<QPoint> MousePlay::GhostPlaces() const
{
    const BoardRenderer& renderer = session_.Board.Renderer;
    const TPositions& p = session_.CurrentPosition;
    QVector<QPoint> places;
    for (int k = 1; k <= 4; ++k) {
        if (!Ghosts.Allowed(k))
            continue;
        const int t = Ghosts.Ghosts[std::size_t(k - 1)];
        const int n = p.Board(MirrorIndex(t, p)) * p.Colour;
        places.append(BoardRenderer::StackedCheckerPosition(
            renderer.PointAnchor(t), BoardRenderer::RowSign(t), theme().Checker_Size,
            std::max(0, n) + 1));
    }
    return places;
}

QRect MousePlay::dragFrame(int x, int y)
{
    BoardRenderer& renderer = session_.Board.Renderer;
    const int s = int(std::lround(theme().Checker_Size / 2.0));
    const QRect previous(LastDragPoint - QPoint(s, s), QSize(2 * s, 2 * s));
    const QRect current(QPoint(x, y) - QPoint(s, s), QSize(2 * s, 2 * s));
    LastDragPoint = QPoint(x, y);
    return renderer.DrawAnimationFrame(previous, current, 1);
}

QRect MousePlay::IBoardMouseUp(Qt::MouseButton button, int x, int y)
{
    ClientSession& s = session_;
    if (!s.Playing)
        return {};
    if (MovedCount == 0)
        MoveCommand = QStringLiteral("move ");
    if (DragStarted)
        drop(x, y);
    else if (MovedCount < s.CurrentPosition.CanMove && DragSource != MoveRefused && Dragging)
        click(button);
    DragStarted = false;
    PickedUp = false;
    s.Board.DrawPosition(s.CurrentPosition);
    ShowScorePanel(s);
    return {};
}

void MousePlay::drop(int x, int y)
{
    ClientSession& s = session_;
    const int t = PointAt(theme(), x, y);
    int k = 0;
    for (int i = 1; i <= 4; ++i) {
        if (t != MoveRefused && Ghosts.Allowed(i) && Ghosts.Ghosts[std::size_t(i - 1)] == t)
            k = i;
    }
    if (!GhostsShown || !Dragging)
        return;
    TPositions moved = s.CommittedPosition;
    if (k == 0 || !MakePartialMove(moved, Ghosts, k)) {
        s.CurrentPosition = s.CommittedPosition;
        return;
    }
    s.CurrentPosition = moved;
    const TPositions& p = s.CurrentPosition;
    const QVector<TMoveStep>& steps = Ghosts.Paths[std::size_t(k - 1)];
    if (p.PlayerDie1 != p.PlayerDie2) {
        if (k == 1 || k == 3)
            Die1Used = true;
        if (k == 2 || k == 3)
            Die2Used = true;
    }
    for (const TMoveStep& step : steps) {
        MovedCount += 1;
        writeStep(step.From, step.To);
        playSound("chequer.wav");
    }
    Dragging = false;
    builtPosition_ = s.CurrentPosition;
}

void MousePlay::click(Qt::MouseButton button)
{
    const TPositions& p = session_.CurrentPosition;
    // Every die of a double is the same one: none is ever spent for the next click.
    if (p.PlayerDie1 == p.PlayerDie2) {
        clickWith(p.PlayerDie1, Die1Used);
        return;
    }
    if (button != Qt::LeftButton && button != Qt::RightButton)
        return;
    bool first = button == Qt::LeftButton;
    // A die already spent passes the click to the other one.
    if (first ? Die1Used : Die2Used)
        first = !first;
    bool& tried = first ? Die1Used : Die2Used;
    bool& other = first ? Die2Used : Die1Used;
    if (!tried && clickWith(first ? p.PlayerDie1 : p.PlayerDie2, tried))
        return;
    if (!other)
        clickWith(first ? p.PlayerDie2 : p.PlayerDie1, other);
}

bool MousePlay::clickWith(int die, bool& used)
{
    ClientSession& s = session_;
    const TPositions& p = s.CurrentPosition;
    const int t = MoveTarget(p, DragSource, die, 1);
    if (t == MoveRefused)
        return false;
    MovedCount += 1;
    writeStep(DragSource, t);
    used = true;
    s.Board.MoveChecker(MirrorIndex(DragSource, p), MirrorIndex(t, p));
    playSound("chequer.wav");
    Dragging = false;
    // The checker lands when its slide ends: only then is the position the committed one.
    s.Board.AfterCheckerMoves([this] {
        session_.CommittedPosition = session_.CurrentPosition;
        builtPosition_ = session_.CurrentPosition;
    });
    return true;
}

void MousePlay::writeStep(int from, int to)
{
    ClientSession& s = session_;
    const TPositions& p = s.CurrentPosition;
    MoveCommand += QChar(' ') + serverPoint(MirrorIndex(from, p), true) + QChar('-')
        + serverPoint(MirrorIndex(to, p), false);
    const QString a = from == OwnBar ? QStringLiteral("bar") : QString::number(from);
    const QString b = to == MoveOff ? QStringLiteral("off") : QString::number(to);
    s.MoveNotation += a + QChar('/') + b + QChar(' ');
}

void MousePlay::playSound(const char* name)
{
    if (session_.Settings.EnableSound && session_.Ports().sound)
        session_.Ports().sound->play(QStringLiteral("Sounds\\") + QLatin1String(name));
}
