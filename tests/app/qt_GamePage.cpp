#include "../protocol/GameLines.h"
#include "../protocol/KeepingBoard.h"

#include "app/TFTabulon.h"
#include "protocol/RecordingPorts.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QToolButton>
#include <QTreeView>
#include <QtTest>

namespace {

// The main window with a recording connection and board, shown on its "Game" tab.
class Window {
public:
    Window() : w(folder.path()), s(w.session())
    {
        link.connected = true;
        s.Ports().link = &link;
        s.Ports().board = &board;
        s.FirstDataSeen = true;
        s.Settings.ShowEndGameMessage = false;
        s.Settings.SaveWatchedMatches = false;
        w.show();
        w.PageControl2->setCurrentWidget(w.TabSheet3);
    }

    void feed(const QList<QByteArray>& lines)
    {
        QByteArray data;
        for (const QByteArray& line : lines)
            data += line + "\r\n";
        s.IdTelnetDataAvailable(data);
    }

    // The cell (col, row) of the grid, as the view numbers it below its header.
    void click(int col, int viewRow)
    {
        QTableView* view = w.SGMovesList;
        const QRect cell = view->visualRect(view->model()->index(viewRow, col));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell.center());
    }

    QModelIndex currentCell() const { return w.SGMovesList->currentIndex(); }

    QTemporaryDir folder;
    RecordingServerLink link;
    KeepingBoard board;
    TFTabulon w;
    ClientSession& s;
};

BoardFields alice(int turn, int die1 = 0, int die2 = 0)
{
    BoardFields fields;
    fields.player = QStringLiteral("alice");
    fields.turn = turn;
    fields.playerDie1 = die1;
    fields.playerDie2 = die2;
    return fields;
}

// alice and bob, watched: one row and a half of the first game.
void watchFirstRows(Window& window)
{
    window.feed({"You're now watching alice.", "alice and bob start a 5 point match.",
                 BoardLine(alice(0)), "Starting a new game with bob.", BoardLine(alice(0)),
                 "alice rolls 6 and 4.", BoardLine(alice(1, 6, 4)), "alice moves 24-18 13-9 .",
                 BoardLine(alice(-1)), "bob rolls 5 and 2.", "bob moves 1-6 12-14 .",
                 BoardLine(alice(1)), "alice rolls 3 and 1."});
    QTRY_COMPARE(window.s.GameRowCount, 2);
}

} // namespace

class TestGamePage : public QObject {
    Q_OBJECT
private slots:
    void gridShowsTheRecord();
    void selectingACellDrawsItsPosition();
    void navigationButtonsAndGameList();
    void newRecordBringsTheBoardTabForward();
    void watchCommandsUseThePlayersList();
};

void TestGamePage::gridShowsTheRecord()
{
    Window window;
    watchFirstRows(window);
    QAbstractItemModel* model = window.w.SGMovesList->model();
    QCOMPARE(model, &window.s.SGMovesList);
    QCOMPARE(model->rowCount(), 3);
    QCOMPARE(model->headerData(1, Qt::Horizontal).toString(), QStringLiteral("alice"));
    QCOMPARE(model->headerData(2, Qt::Horizontal).toString(), QStringLiteral("bob"));
    QCOMPARE(model->index(0, 1).data().toString(), QStringLiteral("64 24/18 13/9"));
    QCOMPARE(model->index(0, 2).data().toString(), QStringLiteral("25 1/6 12/14"));
    QCOMPARE(model->index(1, 0).data().toString(), QStringLiteral("2"));
    QCOMPARE(model->index(1, 1).data().toString(), QStringLiteral("Dice: 3 1"));
    QCOMPARE(window.w.CBGames->currentText(), QStringLiteral("Game 1 Score 0-0"));
}

void TestGamePage::selectingACellDrawsItsPosition()
{
    Window window;
    QVERIFY(QTest::qWaitForWindowExposed(&window.w));
    watchFirstRows(window);
    const TGames& game = window.s.Games.last();

    window.click(2, 0);
    QCOMPARE(window.board.last, game.OpponentPositions.at(0));
    QVERIFY(window.s.ShowingStoredPosition);
    QCOMPARE(window.w.StatusPanel(QStringLiteral("SBJoueur"), 0)->text(),
             QStringLiteral("alice Pips:167 Thorp:198"));

    // While a stored position is shown, live board lines are not drawn.
    const int draws = window.board.draws;
    window.feed({BoardLine(alice(1))});
    QTRY_COMPARE(window.s.MBuffer.count(), 0);
    QCOMPARE(window.board.draws, draws);

    // The last recorded row follows the live game again.
    window.click(1, 1);
    QCOMPARE(window.board.last, game.PlayerPositions.at(1));
    QVERIFY(!window.s.ShowingStoredPosition);

    // The header row selects nothing.
    QHeaderView* header = window.w.SGMovesList->horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(2) + 5, header->height() / 2));
    QCOMPARE(window.board.draws, draws + 1);
    QCOMPARE(window.currentCell(), window.s.SGMovesList.index(1, 1));
}

void TestGamePage::navigationButtonsAndGameList()
{
    Window window;
    QVERIFY(QTest::qWaitForWindowExposed(&window.w));
    watchFirstRows(window);
    window.click(1, 0);

    QTest::mouseClick(window.w.SpeedButton3, Qt::LeftButton);
    QCOMPARE(window.currentCell(), window.s.SGMovesList.index(0, 2));
    QCOMPARE(window.board.last, window.s.Games.last().OpponentPositions.at(0));
    QTest::mouseClick(window.w.SpeedButton2, Qt::LeftButton);
    QCOMPARE(window.currentCell(), window.s.SGMovesList.index(0, 1));
    QCOMPARE(window.board.last, window.s.Games.last().PlayerPositions.at(0));

    // Back on the last row, the list follows the games that begin.
    window.click(1, 1);
    window.feed({"alice wins the game and gets 1 point.", "score in 5 point match: alice-1 bob-0",
                 "Starting a new game with bob.", "bob rolls 4 and 2."});
    QTRY_COMPARE(window.s.Games.size(), 2);
    QTRY_COMPARE(window.s.GameRowCount, 1);
    QComboBox* games = window.w.CBGames;
    QCOMPARE(games->count(), 2);
    QCOMPARE(games->currentText(), QStringLiteral("Game 2 Score 1 0"));
    QCOMPARE(window.w.SGMovesList->model()->rowCount(), 2);

    QTest::mouseClick(window.w.CB, Qt::LeftButton);
    QCOMPARE(games->currentIndex(), 0);
    QCOMPARE(window.w.SGMovesList->model()->rowCount(), 4);
    QVERIFY(window.s.BrowsingOldGame);

    games->setFocus();
    QTest::keyClick(games, Qt::Key_Down);
    QCOMPARE(window.s.ShownGame, 2);
    QVERIFY(!window.s.BrowsingOldGame);
    QCOMPARE(window.w.SGMovesList->model()->index(0, 2).data().toString(),
             QStringLiteral("Dice: 4 2"));

    QTest::keyClick(games, Qt::Key_Up);
    QCOMPARE(window.board.last, window.s.Games.first().PlayerPositions.first());
    QTest::mouseClick(window.w.SpeedButton4, Qt::LeftButton);
    QCOMPARE(games->currentIndex(), 1);
    QVERIFY(!window.s.ShowingStoredPosition);
}

void TestGamePage::newRecordBringsTheBoardTabForward()
{
    Window window;
    window.w.PageControl1->setCurrentIndex(1);
    window.feed({"You're now watching alice."});
    QTRY_COMPARE(window.w.PageControl1->currentIndex(), 0);
    QCOMPARE(window.w.CBGames->currentText(), QStringLiteral("Game 1 Start watching"));
}

void TestGamePage::watchCommandsUseThePlayersList()
{
    Window window;
    QVERIFY(QTest::qWaitForWindowExposed(&window.w));
    window.w.PageControl1->setCurrentIndex(1);
    window.w.Watch2->trigger();
    QTest::qWait(50);
    QVERIFY(window.link.sent.isEmpty());

    window.feed({"5 alice - - 1 0 1500.00 10 0 1593778125 host - -",
                 "5 bob - - 1 0 1600.00 10 0 1593778125 host - -", "6"});
    QTreeView* players = window.w.LVPlayers;
    QTRY_COMPARE(players->model()->rowCount(), 2);
    int bobRow = 0;
    while (players->model()->index(bobRow, 0).data().toString() != QLatin1String("bob"))
        ++bobRow;
    players->selectionModel()->select(
        players->model()->index(bobRow, 0),
        QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    window.w.Watch2->trigger();
    QTRY_COMPARE(window.link.sent, QByteArray("Watch bob\r\n"));

    window.feed({"You're now watching bob."});
    QTRY_VERIFY(window.link.sent.endsWith("Look bob\r\n"));
    QVERIFY(window.s.Watching);
    window.w.Unwatch1->trigger();
    QVERIFY(!window.s.Watching);
    QTRY_VERIFY(window.link.sent.endsWith("unwatch\r\n"));
}

QTEST_MAIN(TestGamePage)
#include "qt_GamePage.moc"
