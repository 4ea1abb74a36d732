#include "OakTheme.h"

#include "app/SettingsFile.h"
#include "app/TFTabulon.h"
#include "board/WidgetBoard.h"
#include "board/WidgetBoardsPage.h"
#include "model/Positions.h"
#include "protocol/ClientSession.h"
#include "protocol/QtClock.h"
#include "protocol/RecordingPorts.h"

#include <QLabel>
#include <QPaintEvent>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

#include <memory>

namespace {

// Keeps the areas painted while a slide runs, the first paint after its start (the lifted
// checker's full redraw) left out.
class PaintWatch : public QObject {
public:
    explicit PaintWatch(WidgetBoard& board) : board_(board) { board.installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && board_.Animating()) {
            if (skipNext)
                skipNext = false;
            else
                painted.append(static_cast<QPaintEvent*>(event)->region());
        }
        return false;
    }
    bool skipNext = true;
    QList<QRegion> painted;

private:
    WidgetBoard& board_;
};

} // namespace

class TestWidgetBoard : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void slideHoldsTheQueueAndEndsOnItsPoint();
    void slideRepaintsOnlyAlongItsPath();
    void boardsPageShowsTheThemes();
    void boardsPageOkWritesTheChoice_data();
    void boardsPageOkWritesTheChoice();
    void mainWindowIsLaidOutAroundTheTheme();

private:
    QTemporaryDir* dir_ = nullptr;
    QtClock* clock_ = nullptr;
    RecordingPorts* rec_ = nullptr;
    ClientSession* session_ = nullptr;
    WidgetBoard* board_ = nullptr;
};

void TestWidgetBoard::init()
{
    dir_ = new QTemporaryDir;
    QVERIFY(dir_->isValid());
    QVERIFY(oak::Install(dir_->path()));
    QFile ini(dir_->path() + "/tabulon.ini");
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write("[Board]\r\nDefaultBoard=Themes\\Oak\\Oak.ini\r\n");
    ini.close();
    clock_ = new QtClock;
    rec_ = new RecordingPorts;
    rec_->link.connected = true;
    SessionPorts ports = rec_->ports();
    ports.clock = clock_;
    session_ = new ClientSession(dir_->path(), ports);
    board_ = new WidgetBoard(*session_);
    board_->setObjectName("IBoard");
    session_->Ports().board = board_;
    session_->FormCreate();
    board_->show();
    QVERIFY(QTest::qWaitForWindowExposed(board_));
}

void TestWidgetBoard::cleanup()
{
    delete board_;
    QVERIFY(session_->Ports().board == nullptr);
    delete session_;
    delete rec_;
    delete clock_;
    delete dir_;
}

void TestWidgetBoard::slideHoldsTheQueueAndEndsOnItsPoint()
{
    QCOMPARE(board_->size(), QSize(300, 200));
    TPositions& p = session_->CurrentPosition;
    p.Turn = 1;
    session_->Settings.AnimationSpeed = 4;
    session_->Board.MoveChecker(13, 8);
    QVERIFY(board_->Animating());
    QVERIFY(session_->QueueHeld());
    session_->IdTelnetDataAvailable("Some line from the server\r\n");
    QCoreApplication::processEvents();
    QVERIFY(session_->DisplayMemo.texts().isEmpty());

    QTRY_VERIFY(!board_->Animating());
    QCOMPARE(p.Board(13), 4);
    QCOMPARE(p.Board(8), 4);
    QTRY_COMPARE(session_->DisplayMemo.texts(), QStringList{"Some line from the server"});
    // The fourth checker of the 8 point (display 8, lower half) is in place.
    const QImage& image = session_->Board.Renderer.CompositionImage();
    QCOMPARE(image.pixelColor(106 + 8, 180 - 3 * oak::CheckerSize + 8), oak::Blue);
    QCOMPARE(image.pixelColor(34 + 8, 4 + 4 * oak::CheckerSize + 8), oak::Board);
}

void TestWidgetBoard::slideRepaintsOnlyAlongItsPath()
{
    PaintWatch watch(*board_);
    session_->Settings.AnimationSpeed = 0;
    session_->CurrentPosition.Turn = 1;
    // From the fifth checker of display 13 to the fourth place of display 8.
    const QRect path = QRect(QPoint(34, 68), QSize(oak::CheckerSize, oak::CheckerSize))
                           .united(QRect(QPoint(106, 132), QSize(oak::CheckerSize, oak::CheckerSize)));
    session_->Board.MoveChecker(13, 8);
    QTRY_VERIFY_WITH_TIMEOUT(!board_->Animating(), 10000);
    QVERIFY(watch.painted.size() >= 2);
    for (const QRegion& region : watch.painted)
        QVERIFY2(path.contains(region.boundingRect()),
                 qPrintable(QStringLiteral("%1,%2 %3x%4")
                                .arg(region.boundingRect().x())
                                .arg(region.boundingRect().y())
                                .arg(region.boundingRect().width())
                                .arg(region.boundingRect().height())));
}

void TestWidgetBoard::boardsPageShowsTheThemes()
{
    QFile walnut(dir_->path() + "/themes/Walnut.ini");
    QVERIFY(walnut.open(QIODevice::WriteOnly));
    walnut.write("[Creator]\r\nAbout=Walnut\r\n");
    walnut.close();

    WidgetBoardsPage page(session_->AppFolder);
    TSettings settings;
    settings.PlayWithBlueChecker = false;
    settings.AnimationSpeed = 3;
    page.Fill(settings, "Oak");
    QCOMPARE(page.LVBoards->topLevelItemCount(), 2);
    QCOMPARE(page.LVBoards->headerItem()->text(0), QString("Board Name"));
    QVERIFY(page.RadioButton2->isChecked());
    QCOMPARE(page.TBAnimationSpeed->value(), 3);
    QCOMPARE(page.TBAnimationSpeed->maximum(), 10);

    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    QVERIFY(page.LVBoards->currentItem());
    QCOMPARE(page.LVBoards->currentItem()->text(0), QString("Oak"));
    QCOMPARE(page.MAbout->toPlainText(), QString("Oak test theme, drawn by the tests."));
    const QImage preview = page.IpreviewBoard->pixmap().toImage();
    QCOMPARE(preview.size(), QSize(300, 200));
    const QImage blue = page.IPreviewCheckerBlue->pixmap().toImage();
    const QImage red = page.IPreviewCheckerRed->pixmap().toImage();
    QCOMPARE(blue.size(), QSize(48, 48));
    QCOMPARE(blue.pixelColor(24, 24), oak::Blue);
    QCOMPARE(red.pixelColor(24, 24), oak::Red);
    QCOMPARE(red.pixelColor(2, 2), QColor(Qt::white));

    page.LVBoards->setCurrentItem(page.LVBoards->topLevelItem(1));
    QCOMPARE(page.MAbout->toPlainText(), QString("Walnut"));
    QVERIFY(page.IpreviewBoard->pixmap().isNull());

    page.ReleasePreviews();
    QVERIFY(page.IPreviewCheckerBlue->pixmap().isNull());
}

void TestWidgetBoard::boardsPageOkWritesTheChoice_data()
{
    QTest::addColumn<QString>("selected");
    QTest::addColumn<QString>("defaultBoard"); // the key written, empty when not
    QTest::addColumn<QString>("playWithBlue"); // the key written, empty when not
    QTest::newRow("the theme in use") << "Oak" << "" << "0";
    QTest::newRow("another theme") << "Walnut" << "Themes\\Walnut\\Walnut.ini" << "0";
    QTest::newRow("nothing selected") << "" << "" << "";
}

void TestWidgetBoard::boardsPageOkWritesTheChoice()
{
    QFETCH(QString, selected);
    QFETCH(QString, defaultBoard);
    QFETCH(QString, playWithBlue);
    QFile walnut(dir_->path() + "/themes/Walnut.ini");
    QVERIFY(walnut.open(QIODevice::WriteOnly));
    walnut.close();

    WidgetBoardsPage page(session_->AppFolder);
    TSettings settings;
    settings.DefaultBoard = "unchanged";
    page.Fill(settings, "Oak");
    for (int i = 0; i < page.LVBoards->topLevelItemCount(); ++i) {
        if (page.LVBoards->topLevelItem(i)->text(0) == selected)
            page.LVBoards->setCurrentItem(page.LVBoards->topLevelItem(i));
    }
    page.RadioButton2->setChecked(true);
    page.TBAnimationSpeed->setValue(7);

    SettingsFile file(dir_->path() + "/written.ini");
    QSignalSpy reload(&page, &WidgetBoardsPage::themeReloadWanted);
    page.ApplyBoardSettings(settings, file);
    QCOMPARE(reload.count(), 1);
    QCOMPARE(settings.AnimationSpeed, 7);
    QCOMPARE(file.readInt("Settings", "AnimationSpeed", -1), 7);
    QCOMPARE(file.readString("Board", "DefaultBoard", ""), defaultBoard);
    QCOMPARE(file.readString("Board", "Playwithbluechecker", ""), playWithBlue);
    QCOMPARE(settings.DefaultBoard,
             defaultBoard.isEmpty() ? QString("unchanged") : session_->AppFolder + defaultBoard);
    QCOMPARE(settings.PlayWithBlueChecker, playWithBlue.isEmpty());
}

void TestWidgetBoard::mainWindowIsLaidOutAroundTheTheme()
{
    TFTabulon window(dir_->path());
    auto* board = window.findChild<WidgetBoard*>("IBoard");
    QVERIFY(board);
    QVERIFY(window.session().Ports().board == board);
    QCOMPARE(window.BoardSize(), QSize(300, 200));
    QCOMPARE(board->size(), QSize(300, 200));
    QCOMPARE(window.size(), QSize(300 + 428, 200 + 180));
    const BoardRenderer& renderer = window.session().Board.Renderer;
    // The starting position: five of the near side's checkers on its 6 point.
    QCOMPARE(renderer.CompositionImage().pixelColor(164 + 8, 180 - 4 * oak::CheckerSize + 8), oak::Blue);

    window.session().Settings.PlayWithBlueChecker = false;
    window.ApplyBoardTheme();
    QCOMPARE(renderer.CompositionImage().pixelColor(164 + 8, 180 + 8), oak::Red);

    // A theme that fails keeps the one in place, and the layout with it.
    window.session().Settings.DefaultBoard = dir_->path() + "/Themes\\Gone\\Gone.ini";
    window.ApplyBoardTheme();
    QCOMPARE(window.session().BoardDescription.BoardName, QString("Oak"));
    QCOMPARE(window.size(), QSize(300 + 428, 200 + 180));
    QCOMPARE(renderer.CompositionImage().pixelColor(164 + 8, 180 + 8), oak::Red);
    QVERIFY(window.session().DisplayMemo.texts().last().contains("Gone.ini"));
}

QTEST_MAIN(TestWidgetBoard)
#include "qt_WidgetBoard.moc"
