// The real main window, fed the recorded watched match, analyses the cells the user clicks
// with the real engine.
#include "app/TFTabulon.h"
#include "protocol/RecordingPorts.h"

#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

class TestAnalysisWindow : public QObject {
    Q_OBJECT
private slots:
    void clickedCellsShowTheEnginesAnalysis();
};

void TestAnalysisWindow::clickedCellsShowTheEnginesAnalysis()
{
    if (!QFile::exists(QStringLiteral("/usr/games/gnubg")))
        QSKIP("GNU Backgammon is not installed");
    QFile recording(QStringLiteral(TABULON_SOURCE_DIR
                                   "/../shared/fixtures/fibs-sessions/fibs-2020-07-03-watching.txt"));
    QVERIFY2(recording.open(QIODevice::ReadOnly), "the recorded watching session is missing");

    QTemporaryDir folder;
    TFTabulon window(folder.path());
    ClientSession& s = window.session();
    RecordingServerLink link;
    link.connected = true;
    s.Ports().link = &link;
    s.FirstDataSeen = true;
    s.Settings.ShowEndGameMessage = false;
    s.Settings.SaveWatchedMatches = false;
    window.show();
    window.PageControl2->setCurrentWidget(window.TabSheet3);

    s.IdTelnetDataAvailable(recording.readAll().replace("\n", "\r\n"));
    QTRY_VERIFY_WITH_TIMEOUT(s.MBuffer.count() == 0 && s.Games.size() == 2, 30000);

    auto* moves = window.findChild<QPlainTextEdit*>(QStringLiteral("MMoves"));
    auto* cube = window.findChild<QPlainTextEdit*>(QStringLiteral("MCube"));
    QVERIFY(moves && cube);
    QTableView* grid = window.SGMovesList;
    // A move of each column of the last game: the near side's and the far side's.
    for (int col : {1, 2}) {
        moves->clear();
        const QRect cell = grid->visualRect(grid->model()->index(1, col));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
        QVERIFY(!window.EPosId->text().isEmpty());
        QVERIFY(!window.EMatchId->text().isEmpty());
        QTRY_VERIFY_WITH_TIMEOUT(moves->toPlainText().contains(QLatin1String("1:")), 60000);
        QVERIFY2(!moves->toPlainText().contains(QLatin1String("unavailable")),
                 qPrintable(moves->toPlainText()));
        QTRY_VERIFY_WITH_TIMEOUT(!cube->toPlainText().trimmed().isEmpty(), 60000);
    }
}

QTEST_MAIN(TestAnalysisWindow)
#include "qt_AnalysisWindow.moc"
