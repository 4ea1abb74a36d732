#include "app/CountryTable.h"
#include "app/SettingsFile.h"
#include "app/TFAbout.h"
#include "app/TFDEbug.h"
#include "app/TFTabulon.h"
#include "app/UnixSignals.h"
#include "app/WidgetPrompter.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTableView>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <QUrl>
#include <QtTest>

#include <csignal>
#include <functional>
#include <memory>

namespace {

// Width of the test screen (set up in main): wide enough for the "8" layout (board + 560),
// too narrow for "10" (board + 630) and "12" (board + 830).
constexpr int ScreenWidth = 1250;

// A program folder of its own for each window, with an optional tabulon.ini.
class AppFolder {
public:
    explicit AppFolder(const QByteArray& ini = QByteArray())
    {
        if (!ini.isNull()) {
            QFile file(path() + QStringLiteral("/tabulon.ini"));
            if (file.open(QIODevice::WriteOnly))
                file.write(ini);
        }
    }
    QString path() const { return dir_.path(); }
    QString iniPath() const { return path() + QStringLiteral("/tabulon.ini"); }

private:
    QTemporaryDir dir_;
};

template <typename T>
T* control(QWidget& window, const char* name)
{
    return window.findChild<T*>(QLatin1String(name));
}

// The caption a user sees on a control: menu text, hint of a tool button, tab text of a page...
QString captionOf(QObject* object)
{
    if (auto* action = qobject_cast<QAction*>(object))
        return action->text();
    if (auto* menu = qobject_cast<QMenu*>(object))
        return menu->title();
    if (auto* tool = qobject_cast<QToolButton*>(object))
        return tool->toolTip();
    if (auto* button = qobject_cast<QAbstractButton*>(object))
        return button->text();
    if (auto* label = qobject_cast<QLabel*>(object))
        return label->text();
    if (auto* box = qobject_cast<QGroupBox*>(object))
        return box->title();
    if (auto* widget = qobject_cast<QWidget*>(object)) {
        if (widget->isWindow())
            return widget->windowTitle();
        QWidget* stack = widget->parentWidget();
        if (auto* tabs = stack ? qobject_cast<QTabWidget*>(stack->parentWidget()) : nullptr)
            return tabs->tabText(tabs->indexOf(widget));
    }
    return QString();
}

bool isInside(QObject* object, const QString& ancestorName)
{
    for (QObject* p = object->parent(); p; p = p->parent()) {
        if (p->objectName() == ancestorName)
            return true;
    }
    return false;
}

QStringList headerCaptions(QAbstractItemView* view)
{
    QStringList captions;
    const QAbstractItemModel* model = view->model();
    for (int c = 0; c < model->columnCount(); ++c)
        captions << model->headerData(c, Qt::Horizontal).toString();
    return captions;
}

// Runs `check` on the next modal window once it is up, then closes it with `button`.
void onNextModal(std::function<void(QWidget*)> check, QMessageBox::StandardButton button,
                 bool* seen)
{
    *seen = false;
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, check, button, seen] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        poll->stop();
        poll->deleteLater();
        *seen = true;
        check(modal);
        if (auto* box = qobject_cast<QMessageBox*>(modal))
            box->button(button)->click();
        else if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->accept();
    });
    poll->start(10);
}

// A stand-in server on the loopback interface that records what the client sends.
class Server {
public:
    Server() { server_.listen(QHostAddress::LocalHost); }

    // Connects the window's session and waits until the login has gone out.
    bool connect(TFTabulon& window)
    {
        received.clear();
        window.session().StartConnection(QStringLiteral("127.0.0.1"),
                                         QString::number(server_.serverPort()));
        if (!QTest::qWaitFor([&] { return server_.hasPendingConnections(); }, 5000))
            return false;
        peer_.reset(server_.nextPendingConnection());
        QObject::connect(peer_.get(), &QTcpSocket::readyRead,
                         [this] { received += peer_->readAll(); });
        return QTest::qWaitFor(
            [&] {
                return window.session().IsConnected()
                    && received.contains("set boardstyle 3\r\n") && window.session().PacedIdle();
            },
            5000);
    }
    bool peerClosed() const { return peer_ && peer_->state() == QAbstractSocket::UnconnectedState; }

    QByteArray received;

private:
    QTcpServer server_;
    std::unique_ptr<QTcpSocket> peer_;
};

} // namespace

class UrlCatcher : public QObject {
    Q_OBJECT
public slots:
    void open(const QUrl& url) { urls << url; }

public:
    QList<QUrl> urls;
};

class TestTFTabulon : public QObject {
    Q_OBJECT
private slots:
    void controlsCarryTheirNamesAndCaptions();
    void menuBarOrder();
    void listsAndGridStartWithTheirHeaders();
    void hiddenControls();
    void windowIsFixedWithMinimiseAndClose();
    void layoutFollowsBoardSize_data();
    void layoutFollowsBoardSize();
    void fontSize_data();
    void fontSize();
    void statusBarsFollowSession();
    void connectionPollShowsNotConnected();
    void commandLineWhileDisconnected();
    void commandLineAndMenusWhileConnected();
    void disconnectCommands_data();
    void disconnectCommands();
    void savedTabIsSelected_data();
    void savedTabIsSelected();
    void closingStoresTheTabOnce();
    void settingsErrorIsShown();
    void terminationSignalClosesTheWindow();
    void debugWindowFollowsSetting_data();
    void debugWindowFollowsSetting();
    void debugMemoShowsColouredLines();
    void systemMemoFollowsLog();
    void webSiteAndAbout();
    void prompterAsksAndInforms();
    void shippedCountryTable();
};

void TestTFTabulon::controlsCarryTheirNamesAndCaptions()
{
    struct Expected {
        const char* name;
        const char* caption;  // nullptr: no caption to check
        const char* inside;   // an ancestor's name, or nullptr
    };
    static const Expected table[] = {
        {"FTabulon", "Tabulon", nullptr},
        {"MainMenu", nullptr, "FTabulon"},
        // Game
        {"Connect1", "Connect", "MainMenu"},
        {"Disconect1", "Disconnect", "MainMenu"},
        {"Preferences1", "Preferences", "MainMenu"},
        {"ImportdatafromJavaFibs1", "Import data from JavaFibs", "MainMenu"},
        // Players
        {"Invite2", "Invite", "MainMenu"},
        {"Profile2", "Profile", "MainMenu"},
        {"Watch2", "Watch", "MainMenu"},
        {"Unwatch1", "Unwatch", "MainMenu"},
        {"Listrepbot2", "List", "MainMenu"},
        {"Askrepbot2", "Ask", "MainMenu"},
        {"Vouchfor2", "Vouch for", "MainMenu"},
        {"Complainabout2", "Complain about", "MainMenu"},
        {"Withdraw2", "Withdraw", "MainMenu"},
        {"Message1", "Send message", "MainMenu"},
        {"Gag3", "Gag", "MainMenu"},
        {"Blind3", "Blind", "MainMenu"},
        {"Friend1", "Friend", "MainMenu"},
        {"Vilain2", "Villain", "MainMenu"},
        // Match
        {"Roll1", "Roll", "MainMenu"},
        {"Double1", "Double", "MainMenu"},
        {"Accrept1", "Accept", "MainMenu"},
        {"Reject1", "Reject", "MainMenu"},
        {"Resign1", "Resign", "MainMenu"},
        {"Leave1", "Leave", "MainMenu"},
        {"Refreshboard1", "Refresh board", "MainMenu"},
        {"oggleready1", "Toggle ready", "MainMenu"},
        {"oggleautomove1", "Toggle automove", "MainMenu"},
        {"ogglegreedy1", "Toggle greedy", "MainMenu"},
        {"oggledouble1", "Toggle double", "MainMenu"},
        // View
        {"Showratings1", "View ratings", "MainMenu"},
        {"Gag2", "View gagged players", "MainMenu"},
        {"Blind2", "View blinded players", "MainMenu"},
        {"Showmessagesbox1", "View messages box", "MainMenu"},
        {"ViewAutoInvite1", "View AutoInvite", "MainMenu"},
        {"Showsaved1", "Show saved match", "MainMenu"},
        // Statistic, TourneyBot
        {"Showrating1", "Show rating statistics", "MainMenu"},
        {"Playerscommands1", "Player's commands", "MainMenu"},
        {"Directorscommands1", "Director's commands", "MainMenu"},
        // Commands
        {"Ongoinggames1", "On going games", "MainMenu"},
        {"Watchers1", "Watchers", "MainMenu"},
        {"ime1", "Time", "MainMenu"},
        {"Averageusers1", "Average users", "MainMenu"},
        {"Fibsversion1", "Fibs version", "MainMenu"},
        // Help
        {"Index1", "Index", "MainMenu"},
        {"Commands1", "Commands", "MainMenu"},
        {"Website1", "Web site", "MainMenu"},
        {"Checkforupdates1", "Check for updates", "MainMenu"},
        {"About1", "About", "MainMenu"},
        // Tool bar
        {"TBConnect", "Connect", "ToolBar"},
        {"TBDisconnect", "Disconnect", "ToolBar"},
        {"TBRefreshBoard", "refresh", "ToolBar"},
        {"TBUndo", "Undo", "ToolBar"},
        {"TBAccept", "Accept", "ToolBar"},
        {"TBReject", "Reject", "ToolBar"},
        {"TBResign", "Resign", "ToolBar"},
        {"TBReady", "Toogle ready", "ToolBar"},
        {"TBAutomove", "Toggle automove", "ToolBar"},
        {"TBGreedy", "Toggle greedy", "ToolBar"},
        {"TBDouble", "Toggle double", "ToolBar"},
        {"ToolBar1", nullptr, "ToolBar"},
        {"TB0", nullptr, "ToolBar1"},
        {"tb9", nullptr, "ToolBar1"},
        // Left panel
        {"PageControl1", nullptr, "PMainPanel"},
        {"TabSheet1", "Board", "PageControl1"},
        {"SBAdversaire", nullptr, "TabSheet1"},
        {"IBoard", nullptr, "TabSheet1"},
        {"SBJoueur", nullptr, "TabSheet1"},
        {"MBuffer", nullptr, "TabSheet1"},
        {"TabSheet2", "Players", "PageControl1"},
        {"LVPlayers", nullptr, "TabSheet2"},
        {"ToolBar2", nullptr, "TabSheet2"},
        {"TBRefresh", "Refresh", "ToolBar2"},
        {"SBReady", "Show players ready", "ToolBar2"},
        {"SBPlaying", "Show players playing", "ToolBar2"},
        {"SBOnLine", "Show players on line", "ToolBar2"},
        {"LNbPlayers", "Number of players online  : ", "TabSheet2"},
        {"LVTemp", nullptr, "TabSheet2"},
        // Right panel
        {"PageControl2", nullptr, "PRightPanel"},
        {"Systeme", "Systeme", "PageControl2"},
        {"DisplayMemo", nullptr, "Systeme"},
        {"Lcommand", "Command:", "Systeme"},
        {"ECommand", nullptr, "Systeme"},
        {"BSendCommand", "Send", "Systeme"},
        {"TabSheet3", "Game", "PageControl2"},
        {"SGMovesList", nullptr, "TabSheet3"},
        {"CBGames", nullptr, "TabSheet3"},
        {"CB", nullptr, "TabSheet3"},
        {"SpeedButton2", nullptr, "TabSheet3"},
        {"SpeedButton3", nullptr, "TabSheet3"},
        {"SpeedButton4", nullptr, "TabSheet3"},
        {"EPosId", nullptr, "TabSheet3"},
        {"EMatchId", nullptr, "TabSheet3"},
        {"MMoves", "Moves", "TabSheet3"},
        {"MCube", "Cube", "TabSheet3"},
        {"TabSheet4", "Chat", "PageControl2"},
        {"GroupBox1", "Public messages", "TabSheet4"},
        {"CBPublic", nullptr, "GroupBox1"},
        {"EShout", nullptr, "GroupBox1"},
        {"MPublicMessages", nullptr, "GroupBox1"},
        {"GroupBox2", "Private messages", "TabSheet4"},
        {"EKibitz", nullptr, "GroupBox2"},
        {"CBPrivate", nullptr, "GroupBox2"},
        {"MPrivateMessages", nullptr, "GroupBox2"},
        {"TabSheet5", "Friends", "PageControl2"},
        {"GroupBox3", "Friends", "TabSheet5"},
        {"LVFriends", nullptr, "GroupBox3"},
        {"GroupBox4", "Villains", "TabSheet5"},
        {"LVVilains", nullptr, "GroupBox4"},
        // Not shown
        {"Timer2", nullptr, "FTabulon"},
        {"PopupMenuPlayer", nullptr, "FTabulon"},
        {"Profile1", "Profile", "PopupMenuPlayer"},
        {"PopupMenuFriends", nullptr, "FTabulon"},
        {"PopupMenuVillains", nullptr, "FTabulon"},
    };

    AppFolder folder;
    TFTabulon window(folder.path());
    for (const Expected& e : table) {
        const QString name = QLatin1String(e.name);
        QObject* object = name == window.objectName() ? &window : window.findChild<QObject*>(name);
        QVERIFY2(object, e.name);
        QCOMPARE(int(window.findChildren<QObject*>(name).size()), name == window.objectName() ? 0 : 1);
        if (e.caption)
            QCOMPARE(captionOf(object), QString::fromLatin1(e.caption));
        if (e.inside)
            QVERIFY2(isInside(object, QLatin1String(e.inside)), e.name);
    }
    for (int i = 0; i < 10; ++i) {
        const QString name = (i == 0 ? QStringLiteral("TB") : QStringLiteral("tb")) + QString::number(i);
        QVERIFY2(control<QToolButton>(window, name.toLatin1().constData()), qPrintable(name));
    }
}

void TestTFTabulon::menuBarOrder()
{
    AppFolder folder;
    TFTabulon window(folder.path());
    QStringList titles;
    for (QAction* action : window.menuBar()->actions())
        titles << action->text();
    QCOMPARE(titles, QStringList({"Game", "Players", "Match", "View", "Statistic", "TourneyBot",
                                  "Commands", "Help"}));
    auto* tourney = window.menuBar()->actions().at(5)->menu();
    QStringList submenus;
    for (QAction* action : tourney->actions())
        submenus << action->text();
    QCOMPARE(submenus, QStringList({"Player's commands", "Director's commands"}));
}

void TestTFTabulon::listsAndGridStartWithTheirHeaders()
{
    AppFolder folder;
    TFTabulon window(folder.path());
    const QStringList players = {"Player Name", "Opponent",   "Status",     "Rating",    "Experience",
                                 "G",           "Country",    "Email",      "Saved games", "Client",
                                 "Fisrt name",  "Last Name",  "Host"};
    QCOMPARE(headerCaptions(control<QTreeView>(window, "LVPlayers")), players);
    QCOMPARE(headerCaptions(control<QTreeView>(window, "LVTemp")), players);
    QCOMPARE(headerCaptions(control<QTreeView>(window, "LVFriends")),
             QStringList({"Friends", "Rating", "Rating change", "Status"}));
    QCOMPARE(headerCaptions(control<QTreeView>(window, "LVVilains")),
             QStringList({"Villains", "Rating", "Rating change", "Status"}));

    auto* moves = control<QTableView>(window, "SGMovesList");
    QCOMPARE(headerCaptions(moves), QStringList({"Nb", "Player1", "Player2"}));
    QCOMPARE(moves->model()->rowCount(), 1);
    for (int c = 0; c < 3; ++c)
        QVERIFY(moves->model()->index(0, c).data().toString().isEmpty());
}

void TestTFTabulon::hiddenControls()
{
    AppFolder folder;
    TFTabulon window(folder.path());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    for (int i = 0; i < 10; ++i)
        QVERIFY(!window.ProgButtons[std::size_t(i)]->isVisible());
    QVERIFY(!control<QPlainTextEdit>(window, "MBuffer")->isVisible());
    QVERIFY(window.LVTemp->isHidden());
    QVERIFY(control<QToolButton>(window, "TBConnect")->isVisible());
}

void TestTFTabulon::windowIsFixedWithMinimiseAndClose()
{
    AppFolder folder;
    TFTabulon window(folder.path());
    const Qt::WindowFlags flags = window.windowFlags();
    QVERIFY(flags & Qt::WindowMinimizeButtonHint);
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    QCOMPARE(window.minimumSize(), window.maximumSize());
}

void TestTFTabulon::layoutFollowsBoardSize_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<bool>("hideShouts");
    QTest::newRow("shouts shown") << QByteArray() << false;
    QTest::newRow("shouts hidden") << QByteArray("[Settings]\nHideShouts=1\n") << true;
}

void TestTFTabulon::layoutFollowsBoardSize()
{
    QFETCH(QByteArray, ini);
    QFETCH(bool, hideShouts);
    AppFolder folder(ini);
    TFTabulon window(folder.path());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    const QSize board = window.BoardSize();
    QCOMPARE(board, QSize(650, 500));
    QCOMPARE(window.size(), QSize(board.width() + 428, board.height() + 180));
    QCOMPARE(window.IBoard->size(), board);
    QCOMPARE(window.PMainPanel->width(), board.width() + 10);
    QCOMPARE(window.PRightPanel->width(), 410);
    // The status bars frame the board.
    QCOMPARE(window.SBAdversaire->width(), board.width());
    QVERIFY(window.SBAdversaire->geometry().bottom() < window.IBoard->geometry().top());
    QVERIFY(window.SBJoueur->geometry().top() > window.IBoard->geometry().bottom());

    const int pages = window.PageControl2->height();
    QCOMPARE(window.DisplayMemo->height(), pages - 70);
    QCOMPARE(window.SGMovesList->height(), pages - 415);
    QCOMPARE(window.GroupBox3->height(), (pages - 30) / 2);
    QCOMPARE(window.GroupBox4->height(), (pages - 30) / 2);
    QCOMPARE(window.GroupBox1->isHidden(), hideShouts);
    QCOMPARE(window.GroupBox2->height(), hideShouts ? pages - 30 : (pages - 30) / 2);
    if (!hideShouts)
        QCOMPARE(window.GroupBox1->height(), (pages - 30) / 2);
}

void TestTFTabulon::fontSize_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("points");
    QTest::addColumn<int>("memoPoints");
    QTest::addColumn<int>("rowHeight");
    QTest::addColumn<int>("columnWidth");
    QTest::addColumn<int>("screenNeeded"); // 0: the window never widens
    QTest::newRow("Default") << "Default" << 8 << 7 << 16 << 165 << 0;
    QTest::newRow("8") << "8" << 8 << 8 << 16 << 165 << 560;
    QTest::newRow("10") << "10" << 10 << 10 << 18 << 265 << 630;
    QTest::newRow("12") << "12" << 12 << 12 << 20 << 365 << 830;
    QTest::newRow("unknown value") << "9" << 8 << 7 << 16 << 165 << 0;
}

void TestTFTabulon::fontSize()
{
    QFETCH(QString, value);
    QFETCH(int, points);
    QFETCH(int, memoPoints);
    QFETCH(int, rowHeight);
    QFETCH(int, columnWidth);
    QFETCH(int, screenNeeded);
    QCOMPARE(QGuiApplication::primaryScreen()->availableGeometry().width(), ScreenWidth);

    AppFolder folder("[Settings]\nFontSize=" + value.toLatin1() + "\n");
    TFTabulon window(folder.path());
    const int board = window.BoardSize().width();

    for (QWidget* w : std::initializer_list<QWidget*>{window.LVPlayers, window.SGMovesList,
                                                      window.MMoves, window.MCube,
                                                      window.MPublicMessages, window.MPrivateMessages,
                                                      window.LVFriends, window.LVVilains})
        QCOMPARE(w->font().pointSize(), points);
    QCOMPARE(window.DisplayMemo->font().pointSize(), memoPoints);
    QVERIFY(window.DisplayMemo->font().fixedPitch());
    QCOMPARE(window.SGMovesList->rowHeight(0), rowHeight);
    QCOMPARE(window.SGMovesList->columnWidth(1), columnWidth);
    QCOMPARE(window.SGMovesList->columnWidth(2), columnWidth);

    const bool widened = screenNeeded > 0 && ScreenWidth >= board + screenNeeded;
    QCOMPARE(window.width(), widened ? board + screenNeeded : board + 428);
    QCOMPARE(window.PRightPanel->width(), widened ? screenNeeded - 20 : 410);
    const bool bothBars = screenNeeded > 0 && !widened;
    for (QPlainTextEdit* memo : {window.DisplayMemo, window.MMoves, window.MCube}) {
        QCOMPARE(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(memo->horizontalScrollBarPolicy(),
                 bothBars ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    }
    if (screenNeeded > 0) {
        QCOMPARE(window.EPosId->font().pointSize(), 8);
        QCOMPARE(window.EMatchId->font().pointSize(), 8);
    }
}

void TestTFTabulon::statusBarsFollowSession()
{
    AppFolder folder;
    TFTabulon window(folder.path());
    for (const char* bar : {"SBAdversaire", "SBJoueur"}) {
        for (int i = 0; i < 3; ++i) {
            const QString name = QStringLiteral("%1.%2").arg(QLatin1String(bar)).arg(i);
            auto* panel = window.findChild<QLabel*>(name);
            QVERIFY2(panel, qPrintable(name));
            QVERIFY(panel->font().bold());
            QCOMPARE(panel->font().pixelSize(), 13);
            QVERIFY(isInside(panel, QLatin1String(bar)));
        }
    }
    QCOMPARE(window.findChild<QLabel*>("SBAdversaire.0")->width(), 280);
    QCOMPARE(window.findChild<QLabel*>("SBAdversaire.1")->width(), 140);
    QCOMPARE(window.findChild<QLabel*>("SBJoueur.0")->text(), QStringLiteral("Player1"));
    QCOMPARE(window.findChild<QLabel*>("SBAdversaire.0")->text(), QStringLiteral("Player2"));

    window.session().Status.setPanel(QStringLiteral("SBJoueur"), 2, QStringLiteral("Your turn"));
    QCOMPARE(window.findChild<QLabel*>("SBJoueur.2")->text(), QStringLiteral("Your turn"));
    QVERIFY(window.findChild<QLabel*>("SBAdversaire.2")->text().isEmpty());
}

void TestTFTabulon::connectionPollShowsNotConnected()
{
    AppFolder folder;
    TFTabulon window(folder.path());
    auto* timer = window.findChild<QTimer*>("Timer2");
    QCOMPARE(timer->interval(), 5000);
    QVERIFY(timer->isActive());
    window.session().Playing = true;
    auto* panel = window.findChild<QLabel*>("SBAdversaire.2");
    QVERIFY(panel->text().isEmpty());
    QTRY_COMPARE_WITH_TIMEOUT(panel->text(), QStringLiteral("Not Connected"), 8000);
    QVERIFY(!window.session().Playing);
}

void TestTFTabulon::commandLineWhileDisconnected()
{
    AppFolder folder;
    TFTabulon window(folder.path());
    const int shown = window.session().DisplayMemo.lines().size();

    // Enter empties the line even without a connection; the button leaves it for a retry.
    window.ECommand->setText(QStringLiteral("who"));
    QTest::keyClick(window.ECommand, Qt::Key_Return);
    QVERIFY(window.ECommand->text().isEmpty());
    window.ECommand->setText(QStringLiteral("rating"));
    window.BSendCommand->click();
    QCOMPARE(window.ECommand->text(), QStringLiteral("rating"));
    window.Ongoinggames1->trigger();
    QCOMPARE(window.session().DisplayMemo.lines().size(), shown);

    // Nothing was kept back to go out once a connection exists.
    Server server;
    QVERIFY(server.connect(window));
    QTest::qWait(300);
    // (after the login line; the players-list refresh sends "rawwho")
    QVERIFY(!server.received.contains("\nwho\r\n"));
    QVERIFY(!server.received.contains("show games"));
    QVERIFY(!server.received.contains("\nrating\r\n"));
}

void TestTFTabulon::commandLineAndMenusWhileConnected()
{
    AppFolder folder;
    TFTabulon window(folder.path());
    Server server;
    QVERIFY(server.connect(window));

    window.ECommand->setText(QStringLiteral("who"));
    QTest::keyClick(window.ECommand, Qt::Key_Enter);
    QTRY_VERIFY(server.received.endsWith("who\r\n"));
    QVERIFY(window.ECommand->text().isEmpty());

    window.ECommand->setText(QStringLiteral("tell bob hi"));
    QTest::mouseClick(window.BSendCommand, Qt::LeftButton);
    QTRY_VERIFY(server.received.endsWith("tell bob hi\r\n"));
    QVERIFY(window.ECommand->text().isEmpty());

    const std::pair<const char*, QByteArray> menu[] = {
        {"Ongoinggames1", "show games\r\n"}, {"Watchers1", "show watchers\r\n"},
        {"ime1", "time\r\n"},                {"Averageusers1", "Average\r\n"},
        {"Fibsversion1", "version\r\n"}};
    for (const auto& [name, command] : menu) {
        window.findChild<QAction*>(QLatin1String(name))->trigger();
        QTRY_VERIFY2(server.received.endsWith(command), name);
    }
}

void TestTFTabulon::disconnectCommands_data()
{
    QTest::addColumn<bool>("fromToolBar");
    QTest::newRow("TBDisconnect") << true;
    QTest::newRow("Disconect1") << false;
}

void TestTFTabulon::disconnectCommands()
{
    QFETCH(bool, fromToolBar);
    AppFolder folder;
    TFTabulon window(folder.path());
    Server server;
    QVERIFY(server.connect(window));
    if (fromToolBar)
        window.TBDisconnect->click();
    else
        window.Disconect1->trigger();
    QTRY_VERIFY(server.peerClosed());
    QVERIFY(!window.session().IsConnected());
    QCOMPARE(window.session().DisplayMemo.lines().last().text, QStringLiteral("**Disconnected**"));
}

void TestTFTabulon::savedTabIsSelected_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<int>("page");
    QTest::newRow("no settings file") << QByteArray() << 0;
    QTest::newRow("chat") << QByteArray("[Settings]\nTabSelected=2\n") << 2;
    QTest::newRow("past the last page") << QByteArray("[Settings]\nTabSelected=9\n") << 3;
    QTest::newRow("negative") << QByteArray("[Settings]\nTabSelected=-1\n") << 0;
}

void TestTFTabulon::savedTabIsSelected()
{
    QFETCH(QByteArray, ini);
    QFETCH(int, page);
    AppFolder folder(ini);
    TFTabulon window(folder.path());
    QCOMPARE(window.PageControl2->currentIndex(), page);
}

void TestTFTabulon::closingStoresTheTabOnce()
{
    AppFolder folder("[Settings]\nTabSelected=0\nFontSize=10\n");
    TFTabulon window(folder.path());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.PageControl2->setCurrentIndex(3);
    QVERIFY(window.close());
    {
        const SettingsFile ini(folder.iniPath());
        QCOMPARE(ini.readInt("Settings", QStringLiteral("TabSelected"), -1), 3);
        // Keys the shut-down does not own are kept.
        QCOMPARE(ini.readString("Settings", QStringLiteral("FontSize"), QString()), QStringLiteral("10"));
    }
    // A second close event must not store again.
    window.PageControl2->setCurrentIndex(1);
    QCloseEvent again;
    QApplication::sendEvent(&window, &again);
    const SettingsFile ini(folder.iniPath());
    QCOMPARE(ini.readInt("Settings", QStringLiteral("TabSelected"), -1), 3);
}

void TestTFTabulon::settingsErrorIsShown()
{
    AppFolder folder;
    // A folder where the settings file should be: it cannot be written.
    QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("tabulon.ini")));
    TFTabulon window(folder.path());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    bool seen = false;
    QString text;
    onNextModal([&](QWidget* modal) { text = static_cast<QMessageBox*>(modal)->text(); },
                QMessageBox::Ok, &seen);
    window.close();
    QVERIFY(seen);
    QVERIFY2(text.contains(QStringLiteral("tabulon.ini")), qPrintable(text));
}

void TestTFTabulon::terminationSignalClosesTheWindow()
{
    AppFolder folder;
    TFTabulon window(folder.path());
    UnixSignals signalPipe;
    QSignalSpy spy(&signalPipe, &UnixSignals::terminationRequested);
    QObject::connect(&signalPipe, &UnixSignals::terminationRequested, &window, &QWidget::close);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.PageControl2->setCurrentIndex(2);

    std::raise(SIGTERM);
    QTRY_VERIFY(!window.isVisible());
    QCOMPARE(spy.size(), 1);
    QCOMPARE(spy.at(0).at(0).toInt(), SIGTERM);
    const SettingsFile ini(folder.iniPath());
    QCOMPARE(ini.readInt("Settings", QStringLiteral("TabSelected"), -1), 2);

    std::raise(SIGINT);
    QTRY_COMPARE(spy.size(), 2);
    QCOMPARE(spy.at(1).at(0).toInt(), SIGINT);
}

void TestTFTabulon::debugWindowFollowsSetting_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<bool>("shown");
    QTest::newRow("Debug=1") << QByteArray("[Settings]\nDebug=1\n") << true;
    QTest::newRow("Debug=0") << QByteArray("[Settings]\nDebug=0\n") << false;
    QTest::newRow("no settings file") << QByteArray() << false;
}

void TestTFTabulon::debugWindowFollowsSetting()
{
    QFETCH(QByteArray, ini);
    QFETCH(bool, shown);
    AppFolder folder(ini);
    TFTabulon window(folder.path());
    QVERIFY(window.FDEbug);
    QCOMPARE(window.FDEbug->objectName(), QStringLiteral("FDEbug"));
    QCOMPARE(window.FDEbug->windowTitle(), QStringLiteral("Debug"));
    QVERIFY(window.FDEbug->windowFlags().testFlag(Qt::Tool));
    QVERIFY(!window.FDEbug->isVisible());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.FDEbug->isVisible(), shown);

    // The session can ask for it later (a connection started with Debug on).
    emit window.session().debugWindowWanted(true);
    QVERIFY(window.FDEbug->isVisible());
    emit window.session().debugWindowWanted(false);
    QVERIFY(!window.FDEbug->isVisible());
}

void TestTFTabulon::debugMemoShowsColouredLines()
{
    AppFolder folder;
    TFTabulon window(folder.path());
    TextLog& log = window.session().MDebug;
    QPlainTextEdit* memo = window.FDEbug->MDebug;
    QVERIFY(memo->isReadOnly());
    QCOMPARE(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);

    const QColor green(0, 128, 0);
    const auto colourOf = [memo](int block) {
        return memo->document()->findBlockByNumber(block).begin().fragment().charFormat().foreground();
    };
    log.addLine(QStringLiteral("5 bob - - 0"));
    log.addLine(QStringLiteral("12 bob hi"), QColor(Qt::red));
    log.replaceLastLine(QStringLiteral("12 bob hi//bob says: hi"), green);
    log.addLine(QStringLiteral("board:You:bob"));
    QCOMPARE(memo->toPlainText(),
             QStringLiteral("5 bob - - 0\n12 bob hi//bob says: hi\nboard:You:bob"));
    QCOMPARE(colourOf(0).style(), Qt::NoBrush);
    QCOMPARE(colourOf(1).color(), green);
    QCOMPARE(colourOf(2).style(), Qt::NoBrush);

    // A line changed in the middle keeps the others in place.
    emit log.lineChanged(0);
    QCOMPARE(memo->document()->blockCount(), 3);

    log.clear();
    QVERIFY(memo->toPlainText().isEmpty());
    log.addLine(QStringLiteral("after"));
    QCOMPARE(memo->toPlainText(), QStringLiteral("after"));
}

void TestTFTabulon::systemMemoFollowsLog()
{
    AppFolder folder;
    TFTabulon window(folder.path());
    TextLog& log = window.session().DisplayMemo;
    QPlainTextEdit* memo = window.DisplayMemo;
    QVERIFY(memo->isReadOnly());
    QCOMPARE(memo->lineWrapMode(), QPlainTextEdit::NoWrap);
    QVERIFY(memo->font().fixedPitch());

    log.clear();
    log.appendText(QStringLiteral("login: "));
    QCOMPARE(memo->toPlainText(), QStringLiteral("login: "));
    log.appendText(QStringLiteral("bob\r\n** Welcome\r\nopen"));
    QCOMPARE(memo->toPlainText(), QStringLiteral("login: bob\n** Welcome\nopen"));
    log.addLine(QString());
    log.addLine(QStringLiteral("last"));
    QCOMPARE(memo->toPlainText(), QStringLiteral("login: bob\n** Welcome\nopen\n\nlast"));

    // A long log keeps one block per line and shows its newest line.
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    for (int i = 0; i < 2000; ++i)
        log.addLine(QStringLiteral("line %1").arg(i));
    QCOMPARE(memo->document()->blockCount(), 5 + 2000);
    QCOMPARE(memo->verticalScrollBar()->value(), memo->verticalScrollBar()->maximum());
}

void TestTFTabulon::webSiteAndAbout()
{
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &catcher, "open");
    const QUrl site(QString::fromLatin1(TabulonWebSite));

    AppFolder folder;
    TFTabulon window(folder.path());
    window.Website1->trigger();
    QCOMPARE(catcher.urls, QList<QUrl>{site});

    bool seen = false;
    onNextModal(
        [&](QWidget* modal) {
            QCOMPARE(modal->objectName(), QStringLiteral("FAbout"));
            QCOMPARE(modal->windowTitle(), QStringLiteral("About"));
            auto* about = static_cast<TFAbout*>(modal);
            QCOMPARE(about->LVersion->text(), QStringLiteral("Tabulon ver 0.981"));
            QVERIFY(!about->IPicture->pixmap().isNull());
            QVERIFY(about->LWebSite->text().contains(site.toString()));
            QVERIFY(about->MCredits->isReadOnly());
            QVERIFY(!about->MCredits->toPlainText().isEmpty());
            QCOMPARE(about->BOk->text(), QStringLiteral("OK"));
            emit about->LWebSite->linkActivated(site.toString());
        },
        QMessageBox::Ok, &seen);
    window.About1->trigger();
    QVERIFY(seen);
    QCOMPARE(catcher.urls, QList<QUrl>({site, site}));
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));

    TFAbout about;
    QVERIFY(about.isModal());
    about.show();
    QTest::mouseClick(about.BOk, Qt::LeftButton);
    QCOMPARE(about.result(), int(QDialog::Accepted));
    QVERIFY(!about.isVisible());
}

void TestTFTabulon::prompterAsksAndInforms()
{
    QWidget parent;
    WidgetPrompter prompter(&parent);
    const struct {
        QMessageBox::StandardButton press;
        bool answer;
    } questions[] = {{QMessageBox::Yes, true}, {QMessageBox::No, false}};
    for (const auto& q : questions) {
        bool seen = false;
        QString text;
        onNextModal([&](QWidget* modal) { text = static_cast<QMessageBox*>(modal)->text(); },
                    q.press, &seen);
        QCOMPARE(prompter.question(QStringLiteral("Invitation"), QStringLiteral("Join bob?")), q.answer);
        QVERIFY(seen);
        QCOMPARE(text, QStringLiteral("Join bob?"));
    }
    bool seen = false;
    QString title;
    onNextModal([&](QWidget* modal) { title = modal->windowTitle(); }, QMessageBox::Ok, &seen);
    prompter.information(QStringLiteral("bob Profile"), QStringLiteral("Fisrt name :Bob"));
    QVERIFY(seen);
    QCOMPARE(title, QStringLiteral("bob Profile"));
}

void TestTFTabulon::shippedCountryTable()
{
    const QString path = QStringLiteral(TABULON_SOURCE_DIR "/data/countriescodes.txt");
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(!bytes.contains('\r'));
    QVERIFY(bytes.endsWith('\n') && !bytes.endsWith("\n\n"));
    const QList<QByteArray> lines = bytes.chopped(1).split('\n');
    QVERIFY(lines.size() <= CountryTableFileLines);

    QStringList names;
    QStringList codes;
    LoadCountryTable(path, names, codes);
    // Every line reaches the table: no empty line cuts it short.
    QCOMPARE(names.size(), lines.size() + 1);
    QCOMPARE(names.first(), QStringLiteral("Neutral Zone"));
    const QRegularExpression code(QStringLiteral("^[A-Z]{2}$"));
    for (int i = 1; i < names.size(); ++i) {
        QVERIFY2(code.match(codes[i]).hasMatch(), qPrintable(codes[i]));
        QVERIFY2(!names[i].isEmpty() && !names[i].endsWith(QChar(' ')), qPrintable(names[i]));
        QCOMPARE(codes.mid(1).count(codes[i]), 1);
    }
    for (const char* expected : {"US", "GB", "DE", "FR", "JP", "BR", "ZA"})
        QVERIFY2(codes.contains(QLatin1String(expected)), expected);
    for (const char* leftOut : {"AQ", "BV", "HM", "UM"})
        QVERIFY2(!codes.contains(QLatin1String(leftOut)), leftOut);
    QCOMPARE(names.at(codes.indexOf(QStringLiteral("KR"))), QStringLiteral("South Korea"));
    QCOMPARE(names.at(codes.indexOf(QStringLiteral("AX"))), QStringLiteral("\u00c5land Islands"));
}

int main(int argc, char** argv)
{
    // One offscreen screen ScreenWidth pixels wide, so both sides of the font-size width rule
    // are reached.
    QTemporaryDir configDir;
    const QString config = configDir.filePath(QStringLiteral("screens.json"));
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly))
        return 1;
    file.write(QStringLiteral(R"({"screens": [{"name": "test", "x": 0, "y": 0, "width": %1, )"
                              R"("height": 1000, "logicalDpi": 96}]})")
                   .arg(ScreenWidth)
                   .toUtf8());
    file.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(config));
    QApplication app(argc, argv);
    TestTFTabulon test;
    return QTest::qExec(&test, argc, argv);
}

#include "qt_TFTabulon.moc"
