// The real main window plays a whole 3-point match against a robot of the FIBS simulator with
// the mouse on the board only: it rolls and doubles by pressing the board, drags and clicks
// the checkers, sends each move by pressing its dice and takes the robot's doubles by pressing
// the offered cube. In the first game it doubles, plays a few moves and resigns through the
// resign window; the later games are played to their end.
#include "app/AppFolder.h"
#include "app/TFTabulon.h"
#include "../SimulatorProcess.h"
#include "board/TFResign.h"
#include "model/MoveRules.h"
#include "model/Positions.h"

#include <QApplication>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include <map>
#include <optional>

namespace {

// Closes the message boxes of game and match ends and answers the resign window.
class ModalDriver : public QObject {
public:
    ModalDriver()
    {
        connect(&timer_, &QTimer::timeout, this, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                boxes << box->text();
                box->accept();
            } else if (auto* window = qobject_cast<TFResign*>(modal)) {
                resignWindows += 1;
                QTest::mouseClick(window->Button1, Qt::LeftButton);
            }
        });
        timer_.start(20);
    }
    QStringList boxes;
    int resignWindows = 0;

private:
    QTimer timer_;
};

// One step of the user's move: a checker from display `from` with die 1 or 2 (first or second).
struct Step {
    int from = 0;
    int die = 1;
    int to = 0;
};

// A whole move the rules allow: CanMove single steps, each with a die not spent yet. The
// larger-die rule for a single checker lives in MoveTarget.
bool FindMove(const TPositions& p, int moved, bool used1, bool used2, QVector<Step>& steps)
{
    if (moved == p.CanMove)
        return true;
    const bool doubles = p.PlayerDie1 == p.PlayerDie2;
    for (int src = 25; src >= 1; --src) {
        const TDestinations g = DestinationSet(p, src, moved, used1, used2);
        for (int k = 1; k <= (doubles ? 1 : 2); ++k) {
            if (!g.Allowed(k))
                continue;
            TPositions next = p;
            if (!MakePartialMove(next, g, k))
                continue;
            steps.append({src, k, g.Ghosts[std::size_t(k - 1)]});
            if (FindMove(next, moved + 1, used1 || (!doubles && k == 1), used2 || k == 2, steps))
                return true;
            steps.removeLast();
        }
    }
    return false;
}

} // namespace

class TestMousePlayMatch : public QObject {
    Q_OBJECT

private slots:
    void playsAWholeMatchByMouse();

private:
    // A pixel of each hit area, next to where the area's checkers stand.
    void mapHitAreas();
    QPoint at(int display) const { return pixels_.at(display); }
    void press(QPoint p, Qt::MouseButton button = Qt::LeftButton);
    void playStep(const Step& step, bool byDrag);
    bool idle() const;

    TFTabulon* window_ = nullptr;
    std::map<int, QPoint> pixels_;
    QString shot_;
};

void TestMousePlayMatch::mapHitAreas()
{
    const BoardRenderer& r = window_->session().Board.Renderer;
    const TBoardDescription& d = r.Description();
    std::map<int, int> best;
    for (int y = 0; y < d.BoardSize_Y; ++y) {
        for (int x = 0; x < d.BoardSize_X; ++x) {
            const int display = PointAt(d, x, y);
            if (display == MoveRefused)
                continue;
            const QPoint aim = r.PointAnchor(display)
                + QPoint(d.Checker_Size / 2, d.Checker_Size / 2);
            const int distance = (QPoint(x, y) - aim).manhattanLength();
            if (!best.count(display) || distance < best[display]) {
                best[display] = distance;
                pixels_[display] = QPoint(x, y);
            }
        }
    }
}

void TestMousePlayMatch::press(QPoint p, Qt::MouseButton button)
{
    QTest::mousePress(window_->IBoard, button, {}, p);
    QTest::mouseRelease(window_->IBoard, button, {}, p);
}

void TestMousePlayMatch::playStep(const Step& step, bool byDrag)
{
    ClientSession& s = window_->session();
    const QPoint a = at(step.from);
    if (!byDrag) {
        // A click moves by the die of its button: left the first, right the second.
        const Qt::MouseButton button = step.die == 1 ? Qt::LeftButton : Qt::RightButton;
        QTest::mousePress(window_->IBoard, button, {}, a);
        QTest::mouseMove(window_->IBoard, a + QPoint(2, 2));
        QTest::mouseRelease(window_->IBoard, button, {}, a + QPoint(2, 2));
        QTRY_VERIFY(!s.Board.Moving());
        return;
    }
    const QPoint b = at(step.to);
    QTest::mousePress(window_->IBoard, Qt::LeftButton, {}, a);
    QTest::mouseMove(window_->IBoard, a + QPoint(8, 0));
    QTest::mouseMove(window_->IBoard, (a + b) / 2);
    QVERIFY(s.Mouse.GhostsShown);
    if (!shot_.isEmpty()) {
        window_->grab().save(shot_);
        shot_.clear();
    }
    QTest::mouseMove(window_->IBoard, b);
    QTest::mouseRelease(window_->IBoard, Qt::LeftButton, {}, b);
}

bool TestMousePlayMatch::idle() const
{
    ClientSession& s = window_->session();
    return s.MBuffer.count() == 0 && !s.QueueHeld() && !s.Board.Moving()
        && QApplication::activeModalWidget() == nullptr;
}

void TestMousePlayMatch::playsAWholeMatchByMouse()
{
    QTemporaryDir folder;
    QVERIFY(CopyShippedData(QStringLiteral(TABULON_SOURCE_DIR "/data"), folder.path(), nullptr));
    Simulator sim({QStringLiteral("--population"), QStringLiteral("6"),
                   QStringLiteral("--robot-pace"), QStringLiteral("60"),
                   QStringLiteral("--robot-accept"), QStringLiteral("1")},
                  folder.filePath("sim.log"));
    QVERIFY2(sim.port() > 0, "the simulator did not start");
    ModalDriver modals;
    shot_ = qEnvironmentVariable("TABULON_MOUSE_SHOT");

    TFTabulon window(folder.path());
    window_ = &window;
    ClientSession& s = window.session();
    s.Settings.Username = QStringLiteral("alice");
    s.Settings.Password = QStringLiteral("secret");
    s.Settings.ConfirmDoubles = false;
    s.Settings.EnableSound = false;
    s.Settings.SavePlayedMatches = true;
    s.Settings.AnimationSpeed = 1;
    window.show();
    mapHitAreas();
    s.StartConnection(QStringLiteral("127.0.0.1"), QString::number(sim.port()));
    QTRY_COMPARE_WITH_TIMEOUT(s.OwnInfo.Name, QStringLiteral("alice"), 20000);

    // A robot of the population (not the two service robots) is invited.
    QTRY_VERIFY_WITH_TIMEOUT(s.LVTemp.Rows().size() > 3, 10000);
    QString robot;
    for (const TPlayerRow& row : s.LVTemp.Rows()) {
        const QString name = row.Cell(ColPlayerName);
        if (name != QLatin1String("alice") && name != QLatin1String("RepBot")
            && name != QLatin1String("TourneyBot") && robot.isEmpty())
            robot = name;
    }
    QVERIFY(!robot.isEmpty());
    if (!s.OwnInfo.Ready)
        s.BSendCommandClick(QStringLiteral("toggle ready"));
    s.BSendCommandClick(QStringLiteral("invite ") + robot + QStringLiteral(" 3"));
    QTRY_VERIFY_WITH_TIMEOUT(s.Playing, 20000);

    const TBoardDescription& d = s.Board.Renderer.Description();
    const QPoint rollArea(d.Point[6] + 10, d.BoardSize_Y / 2);
    const QPoint cube(d.Point[14] + d.Checker_Size / 2, d.Cube_Center_Pos_Y + d.Checker_Size / 2);
    const QPoint offeredCube(d.Cube_Right_Pos_X + d.Checker_Size / 2,
                             d.Cube_Take_Pl1_Y + d.Checker_Size / 2);
    const QPoint ownDice(d.Dice1_Right_X + 4, d.Dice_Y + 4);

    int movesSent = 0;
    int drags = 0;
    int clicks = 0;
    int doublesOffered = 0;
    int movesThisGame = 0;
    qsizetype games = s.Games.size();
    std::optional<TPositions> actedOn;
    QElapsedTimer sinceAction;
    QElapsedTimer match;
    match.start();
    while (s.Playing && match.elapsed() < 240000) {
        QTest::qWait(20);
        if (!idle())
            continue;
        if (s.Games.size() != games) {
            games = s.Games.size();
            movesThisGame = 0;
        }
        const TPositions& p = s.CurrentPosition;
        // One action per board line; the server's answer brings the next one.
        if (actedOn && *actedOn == s.BoardLinePosition && sinceAction.elapsed() < 4000)
            continue;
        const bool ownTurn = p.Turn == p.Colour && p.Turn != 0;
        // Once, in the first game, after the double was taken and a few moves were played.
        const bool resign =
            games == 1 && p.Cube == 2 && movesThisGame >= 3 && modals.resignWindows == 0;
        if (s.OpponentDoubled) {
            press(offeredCube);
        } else if (ownTurn && resign) {
            QTest::mouseClick(window.TBResign, Qt::LeftButton);
        } else if (ownTurn && p.PlayerDie1 == 0) {
            if (games == 1 && doublesOffered == 0 && p.Cube == 1 && p.PlayerMayDouble
                && !p.Crawford) {
                press(cube);
                doublesOffered += 1;
            } else {
                press(rollArea);
            }
        } else if (ownTurn && p.CanMove > 0 && s.Mouse.MovedCount == 0) {
            QVector<Step> steps;
            QVERIFY2(FindMove(p, 0, false, false, steps), "no move found for the dice");
            for (const Step& step : steps) {
                const bool byDrag = (movesSent + int(&step - steps.data())) % 2 == 0;
                playStep(step, byDrag);
                (byDrag ? drags : clicks) += 1;
            }
            QCOMPARE(s.Mouse.MovedCount, p.CanMove);
            press(ownDice);
            QCOMPARE(s.Mouse.MovedCount, 0);
            QVERIFY(s.Status.panel(QStringLiteral("SBJoueur"), 2)
                        .startsWith(QLatin1String("You move  ")));
            movesSent += 1;
            movesThisGame += 1;
        } else {
            continue;
        }
        actedOn = s.BoardLinePosition;
        sinceAction.start();
    }

    qInfo("%d moves sent (%d drags, %d clicks) in %lld games", movesSent, drags, clicks,
          qlonglong(s.Games.size()));
    QVERIFY2(!s.Playing, "the match did not end in time");
    QTRY_VERIFY_WITH_TIMEOUT(!s.LastMatchFile.isEmpty(), 10000);
    const QStringList memo = s.DisplayMemo.texts();
    for (const QString& line : memo) {
        QVERIFY2(!line.startsWith(QLatin1String("** Illegal move"))
                     && !line.startsWith(QLatin1String("** You must give"))
                     && !line.startsWith(QLatin1String("** You can't move that way"))
                     && !line.startsWith(QLatin1String("** You don't have a piece")),
                 qPrintable(line));
    }
    QVERIFY(movesSent >= 2);
    QVERIFY(drags > 0);
    QVERIFY(clicks > 0);
    QCOMPARE(doublesOffered, 1);
    QCOMPARE(modals.resignWindows, 1);
    const QString file = readText(s.LastMatchFile);
    QVERIFY2(file.contains(QLatin1String("Doubles => 2")), qPrintable(file));
    QVERIFY2(file.contains(QLatin1String("Takes")), qPrintable(file));
    QVERIFY2(file.contains(QLatin1String(" 3 point match")), qPrintable(file));
    const QString log = readText(folder.filePath("sim.log"));
    QVERIFY2(log.contains(QLatin1String("resign normal")), "the resignation never reached the server");
    window.close();
}

QTEST_MAIN(TestMousePlayMatch)
#include "qt_MousePlayMatch.moc"
