#include "app/TFTabulon.h"

#include "app/TFAbout.h"
#include "app/TFDEbug.h"
#include "app/WidgetChatPage.h"
#include "app/WidgetReportView.h"
#include "app/WidgetGamePage.h"
#include "app/WidgetPlayersTab.h"
#include "invite/WidgetInvitations.h"
#include "net/TTnCnx.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdio>
#include <initializer_list>

namespace {

// Received lines still to be handled past which the connection reads no more for a while.
constexpr int MaxUnhandledLines = 5000;

QString folderOrProgramFolder(const QString& appFolder)
{
    return appFolder.isEmpty() ? QCoreApplication::applicationDirPath() : appFolder;
}

// The fixed-pitch face of the memos that show server and engine text.
QFont memoFont()
{
#ifdef Q_OS_WIN
    QFont font(QStringLiteral("Lucida Console"));
#else
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
#endif
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    return font;
}

void setPointSize(QWidget* widget, int points)
{
    QFont font = widget->font();
    font.setPointSize(points);
    widget->setFont(font);
}

QAction* addItem(QMenu* menu, const char* name, const QString& caption)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    return action;
}

QMenu* addSubmenu(QMenu* menu, const char* name, const QString& title)
{
    QMenu* sub = menu->addMenu(title);
    sub->setObjectName(QLatin1String(name));
    return sub;
}

QMenu* addMenu(QMenuBar* bar, const char* name, const QString& title)
{
    QMenu* menu = bar->addMenu(title);
    menu->setObjectName(QLatin1String(name));
    return menu;
}

QToolButton* makeToolButton(QWidget* parent, const QString& name, const QString& hint,
                            const char* icon = nullptr)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setToolTip(hint);
    button->setText(hint);
    button->setAutoRaise(true);
    if (icon)
        button->setIcon(QIcon(QStringLiteral(":/icons/%1.png").arg(QLatin1String(icon))));
    return button;
}

QPlainTextEdit* makeMemo(QWidget* parent, const char* name, bool fixedPitch, bool wrap)
{
    auto* memo = new QPlainTextEdit(parent);
    memo->setObjectName(QLatin1String(name));
    memo->setReadOnly(true);
    memo->setUndoRedoEnabled(false);
    memo->setLineWrapMode(wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo->setHorizontalScrollBarPolicy(wrap ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAlwaysOn);
    if (fixedPitch)
        memo->setFont(memoFont());
    return memo;
}

// A report list: a header of captions (with widths) over rows of text.
QTreeView* makeListView(QWidget* parent, const char* name,
                        std::initializer_list<std::pair<const char*, int>> columns)
{
    QTreeView* view = MakeReportView(parent, name);
    auto* model = new QStandardItemModel(0, int(columns.size()), view);
    QStringList captions;
    for (const auto& column : columns)
        captions << QString::fromLatin1(column.first);
    model->setHorizontalHeaderLabels(captions);
    view->setModel(model);
    int i = 0;
    for (const auto& column : columns) {
        if (column.second > 0)
            view->header()->resizeSection(i, column.second);
        ++i;
    }
    return view;
}

// A status bar of three sunken panels: 280 and 140 pixels, the last one taking the rest.
QFrame* makeStatusBar(QWidget* parent, const char* name,
                      std::array<QLabel*, TFTabulon::StatusPanelCount>& panels)
{
    auto* bar = new QFrame(parent);
    bar->setObjectName(QLatin1String(name));
    auto* layout = new QHBoxLayout(bar);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    QFont font;
    font.setFamilies({QStringLiteral("Verdana"), QStringLiteral("DejaVu Sans")});
    font.setPixelSize(13);
    font.setBold(true);
    static constexpr int widths[TFTabulon::StatusPanelCount] = {280, 140, 50};
    for (int i = 0; i < TFTabulon::StatusPanelCount; ++i) {
        auto* panel = new QLabel(bar);
        panel->setObjectName(QStringLiteral("%1.%2").arg(QLatin1String(name)).arg(i));
        panel->setFont(font);
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panel->setIndent(4);
        panel->setFixedHeight(QFontMetrics(font).height() + 8);
        if (i + 1 < TFTabulon::StatusPanelCount)
            panel->setFixedWidth(widths[i]);
        else
            panel->setMinimumWidth(widths[i]);
        layout->addWidget(panel, i + 1 < TFTabulon::StatusPanelCount ? 0 : 1);
        panels[std::size_t(i)] = panel;
    }
    return bar;
}

QGroupBox* makeChatBox(QWidget* parent, const char* name, const QString& title,
                       QPlainTextEdit*& memo, const char* memoName, QComboBox*& combo,
                       const char* comboName, const QStringList& items, QLineEdit*& edit,
                       const char* editName)
{
    auto* box = new QGroupBox(title, parent);
    box->setObjectName(QLatin1String(name));
    memo = makeMemo(box, memoName, false, true);
    memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    combo = new QComboBox(box);
    combo->setObjectName(QLatin1String(comboName));
    combo->addItems(items);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    edit = new QLineEdit(box);
    edit->setObjectName(QLatin1String(editName));
    auto* input = new QHBoxLayout;
    input->setSpacing(4);
    input->addWidget(combo);
    input->addWidget(edit, 1);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(6, 4, 6, 6);
    layout->setSpacing(4);
    layout->addWidget(memo);
    layout->addLayout(input);
    return box;
}

} // namespace

TFTabulon::TFTabulon(const QString& appFolder, QWidget* parent)
    : QMainWindow(parent),
      prompter_(this),
      sound_(folderOrProgramFolder(appFolder)),
      session_(folderOrProgramFolder(appFolder),
               SessionPorts{&link_, &prompter_, nullptr, &sound_, &clock_, true})
{
    // The pictures are compiled into a static library: register them before the first use.
    Q_INIT_RESOURCE(app);

    setObjectName(QStringLiteral("FTabulon"));
    setWindowTitle(QStringLiteral("Tabulon"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                   | Qt::WindowCloseButtonHint);
    QFont base = font();
    base.setFamilies({QStringLiteral("Tahoma"), base.family()});
    base.setPointSize(8);
    setFont(base);

    buildMenus();
    buildToolBar();
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("Central"));
    auto* columns = new QHBoxLayout(central);
    columns->setContentsMargins(2, 4, 2, 4);
    columns->setSpacing(4);
    columns->addWidget(buildLeftPanel());
    columns->addWidget(buildRightPanel());
    setCentralWidget(central);

    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setInterval(ClientSession::Timer2IntervalMs);

    PopupMenuPlayer = new QMenu(this);
    PopupMenuPlayer->setObjectName(QStringLiteral("PopupMenuPlayer"));
    Profile1 = addItem(PopupMenuPlayer, "Profile1", QStringLiteral("Profile"));
    PopupMenuFriends = new QMenu(this);
    PopupMenuFriends->setObjectName(QStringLiteral("PopupMenuFriends"));
    PopupMenuVillains = new QMenu(this);
    PopupMenuVillains->setObjectName(QStringLiteral("PopupMenuVillains"));
    const std::pair<QTreeView*, QMenu*> popups[] = {
        {LVPlayers, PopupMenuPlayer}, {LVFriends, PopupMenuFriends}, {LVVilains, PopupMenuVillains}};
    for (const auto& [list, menu] : popups) {
        list->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(list, &QWidget::customContextMenuRequested, menu,
                [list = list, menu = menu](const QPoint& at) {
                    if (!menu->isEmpty())
                        menu->popup(list->viewport()->mapToGlobal(at));
                });
    }

    FDEbug = new TFDEbug(session_.MDebug, this);
    bindSession();

    session_.FormCreate();
    BindPlayersTab(*this);
    BindGamePage(*this);
    BindChatPage(*this);
    BindInvitations(*this);
    PageControl2->setCurrentIndex(
        std::clamp(session_.WindowSettings.TabSelected, 0, PageControl2->count() - 1));
    LayOutWindow();
    ApplyFontSize();
    Timer2->start();
}

TFTabulon::~TFTabulon()
{
    // The controls go first, while the session they are bound to still exists.
    Timer2->stop();
    const QList<QWidget*> children = findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    qDeleteAll(children);
}

void TFTabulon::buildMenus()
{
    MainMenu = menuBar();
    MainMenu->setObjectName(QStringLiteral("MainMenu"));

    QMenu* game = addMenu(MainMenu, "Game1", QStringLiteral("Game"));
    Connect1 = addItem(game, "Connect1", QStringLiteral("Connect"));
    Disconect1 = addItem(game, "Disconect1", QStringLiteral("Disconnect"));
    game->addSeparator();
    Preferences1 = addItem(game, "Preferences1", QStringLiteral("Preferences"));
    game->addSeparator();
    ImportdatafromJavaFibs1 =
        addItem(game, "ImportdatafromJavaFibs1", QStringLiteral("Import data from JavaFibs"));

    QMenu* players = addMenu(MainMenu, "Players1", QStringLiteral("Players"));
    Invite2 = addItem(players, "Invite2", QStringLiteral("Invite"));
    Profile2 = addItem(players, "Profile2", QStringLiteral("Profile"));
    Watch2 = addItem(players, "Watch2", QStringLiteral("Watch"));
    Unwatch1 = addItem(players, "Unwatch1", QStringLiteral("Unwatch"));
    QMenu* repbot = addSubmenu(players, "Repbot1", QStringLiteral("Repbot"));
    Listrepbot2 = addItem(repbot, "Listrepbot2", QStringLiteral("List"));
    Askrepbot2 = addItem(repbot, "Askrepbot2", QStringLiteral("Ask"));
    Vouchfor2 = addItem(repbot, "Vouchfor2", QStringLiteral("Vouch for"));
    Complainabout2 = addItem(repbot, "Complainabout2", QStringLiteral("Complain about"));
    Withdraw2 = addItem(repbot, "Withdraw2", QStringLiteral("Withdraw"));
    players->addSeparator();
    Message1 = addItem(players, "Message1", QStringLiteral("Send message"));
    Gag3 = addItem(players, "Gag3", QStringLiteral("Gag"));
    Blind3 = addItem(players, "Blind3", QStringLiteral("Blind"));
    players->addSeparator();
    Friend1 = addItem(players, "Friend1", QStringLiteral("Friend"));
    Vilain2 = addItem(players, "Vilain2", QStringLiteral("Villain"));

    QMenu* match = addMenu(MainMenu, "Match1", QStringLiteral("Match"));
    Roll1 = addItem(match, "Roll1", QStringLiteral("Roll"));
    Double1 = addItem(match, "Double1", QStringLiteral("Double"));
    Accrept1 = addItem(match, "Accrept1", QStringLiteral("Accept"));
    Reject1 = addItem(match, "Reject1", QStringLiteral("Reject"));
    Resign1 = addItem(match, "Resign1", QStringLiteral("Resign"));
    Leave1 = addItem(match, "Leave1", QStringLiteral("Leave"));
    match->addSeparator();
    Refreshboard1 = addItem(match, "Refreshboard1", QStringLiteral("Refresh board"));
    match->addSeparator();
    oggleready1 = addItem(match, "oggleready1", QStringLiteral("Toggle ready"));
    oggleautomove1 = addItem(match, "oggleautomove1", QStringLiteral("Toggle automove"));
    ogglegreedy1 = addItem(match, "ogglegreedy1", QStringLiteral("Toggle greedy"));
    oggledouble1 = addItem(match, "oggledouble1", QStringLiteral("Toggle double"));

    QMenu* view = addMenu(MainMenu, "View1", QStringLiteral("View"));
    Showratings1 = addItem(view, "Showratings1", QStringLiteral("View ratings"));
    Gag2 = addItem(view, "Gag2", QStringLiteral("View gagged players"));
    Blind2 = addItem(view, "Blind2", QStringLiteral("View blinded players"));
    Showmessagesbox1 = addItem(view, "Showmessagesbox1", QStringLiteral("View messages box"));
    ViewAutoInvite1 = addItem(view, "ViewAutoInvite1", QStringLiteral("View AutoInvite"));
    Showsaved1 = addItem(view, "Showsaved1", QStringLiteral("Show saved match"));

    QMenu* statistic = addMenu(MainMenu, "Statistic1", QStringLiteral("Statistic"));
    Showrating1 = addItem(statistic, "Showrating1", QStringLiteral("Show rating statistics"));

    QMenu* tourney = addMenu(MainMenu, "TourneyBot1", QStringLiteral("TourneyBot"));
    Playerscommands1 = addSubmenu(tourney, "Playerscommands1", QStringLiteral("Player's commands"));
    Directorscommands1 =
        addSubmenu(tourney, "Directorscommands1", QStringLiteral("Director's commands"));

    QMenu* commands = addMenu(MainMenu, "Commands2", QStringLiteral("Commands"));
    Ongoinggames1 = addItem(commands, "Ongoinggames1", QStringLiteral("On going games"));
    Watchers1 = addItem(commands, "Watchers1", QStringLiteral("Watchers"));
    ime1 = addItem(commands, "ime1", QStringLiteral("Time"));
    Averageusers1 = addItem(commands, "Averageusers1", QStringLiteral("Average users"));
    Fibsversion1 = addItem(commands, "Fibsversion1", QStringLiteral("Fibs version"));

    QMenu* help = addMenu(MainMenu, "Help1", QStringLiteral("Help"));
    Index1 = addItem(help, "Index1", QStringLiteral("Index"));
    Commands1 = addItem(help, "Commands1", QStringLiteral("Commands"));
    help->addSeparator();
    Website1 = addItem(help, "Website1", QStringLiteral("Web site"));
    Checkforupdates1 = addItem(help, "Checkforupdates1", QStringLiteral("Check for updates"));
    help->addSeparator();
    About1 = addItem(help, "About1", QStringLiteral("About"));
}

void TFTabulon::buildToolBar()
{
    ToolBar = new QToolBar(this);
    ToolBar->setObjectName(QStringLiteral("ToolBar"));
    ToolBar->setMovable(false);
    ToolBar->setFloatable(false);
    ToolBar->setIconSize(QSize(24, 24));
    ToolBar->setContextMenuPolicy(Qt::PreventContextMenu);
    addToolBar(Qt::TopToolBarArea, ToolBar);

    TBConnect = makeToolButton(ToolBar, QStringLiteral("TBConnect"), QStringLiteral("Connect"), "connect");
    TBDisconnect = makeToolButton(ToolBar, QStringLiteral("TBDisconnect"),
                                  QStringLiteral("Disconnect"), "disconnect");
    TBRefreshBoard = makeToolButton(ToolBar, QStringLiteral("TBRefreshBoard"),
                                    QStringLiteral("refresh"), "refreshboard");
    TBUndo = makeToolButton(ToolBar, QStringLiteral("TBUndo"), QStringLiteral("Undo"), "undo");
    TBAccept = makeToolButton(ToolBar, QStringLiteral("TBAccept"), QStringLiteral("Accept"), "accept");
    TBReject = makeToolButton(ToolBar, QStringLiteral("TBReject"), QStringLiteral("Reject"), "reject");
    TBResign = makeToolButton(ToolBar, QStringLiteral("TBResign"), QStringLiteral("Resign"), "resign");
    TBReady = makeToolButton(ToolBar, QStringLiteral("TBReady"), QStringLiteral("Toogle ready"), "ready");
    TBAutomove = makeToolButton(ToolBar, QStringLiteral("TBAutomove"),
                                QStringLiteral("Toggle automove"), "automove");
    TBGreedy = makeToolButton(ToolBar, QStringLiteral("TBGreedy"), QStringLiteral("Toggle greedy"), "greedy");
    TBDouble = makeToolButton(ToolBar, QStringLiteral("TBDouble"), QStringLiteral("Toggle double"), "double");

    const std::initializer_list<std::initializer_list<QToolButton*>> groups = {
        {TBConnect, TBDisconnect},
        {TBRefreshBoard, TBUndo},
        {TBAccept, TBReject, TBResign},
        {TBReady, TBAutomove, TBGreedy, TBDouble}};
    for (const auto& group : groups) {
        if (!ToolBar->actions().isEmpty())
            ToolBar->addSeparator();
        for (QToolButton* button : group)
            ToolBar->addWidget(button);
    }

    // The programmable buttons sit in a bar of their own, so each can be shown or hidden.
    ToolBar1 = new QWidget(ToolBar);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    auto* row = new QHBoxLayout(ToolBar1);
    row->setContentsMargins(8, 0, 0, 0);
    row->setSpacing(0);
    for (int i = 0; i < int(ProgButtons.size()); ++i) {
        const QString name = (i == 0 ? QStringLiteral("TB") : QStringLiteral("tb")) + QString::number(i);
        QToolButton* button = makeToolButton(ToolBar1, name, QString());
        button->setIconSize(QSize(24, 24));
        button->hide();
        row->addWidget(button);
        ProgButtons[std::size_t(i)] = button;
    }
    ToolBar->addWidget(ToolBar1);
}

QWidget* TFTabulon::buildLeftPanel()
{
    PMainPanel = new QWidget(this);
    PMainPanel->setObjectName(QStringLiteral("PMainPanel"));
    PageControl1 = new QTabWidget(PMainPanel);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    auto* panelLayout = new QVBoxLayout(PMainPanel);
    panelLayout->setContentsMargins(0, 0, 0, 0);
    panelLayout->addWidget(PageControl1);

    // Board tab: the board framed by the two players' status bars.
    TabSheet1 = new QWidget;
    TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
    SBAdversaire = makeStatusBar(TabSheet1, "SBAdversaire", adversairePanels_);
    IBoard = new WidgetBoard(session_, TabSheet1);
    IBoard->setObjectName(QStringLiteral("IBoard"));
    session_.Ports().board = IBoard;
    SBJoueur = makeStatusBar(TabSheet1, "SBJoueur", joueurPanels_);
    MBuffer = new QPlainTextEdit(TabSheet1);
    MBuffer->setObjectName(QStringLiteral("MBuffer"));
    MBuffer->setLineWrapMode(QPlainTextEdit::NoWrap);
    MBuffer->hide();
    auto* board = new QVBoxLayout(TabSheet1);
    board->setContentsMargins(4, 4, 4, 4);
    board->setSpacing(2);
    board->addStretch(1);
    board->addWidget(SBAdversaire, 0, Qt::AlignHCenter);
    board->addWidget(IBoard, 0, Qt::AlignHCenter);
    board->addWidget(SBJoueur, 0, Qt::AlignHCenter);
    board->addStretch(1);
    board->addWidget(MBuffer);
    PageControl1->addTab(TabSheet1, QStringLiteral("Board"));

    // Players tab.
    TabSheet2 = new QWidget;
    TabSheet2->setObjectName(QStringLiteral("TabSheet2"));
    ToolBar2 = new QToolBar(TabSheet2);
    ToolBar2->setObjectName(QStringLiteral("ToolBar2"));
    ToolBar2->setIconSize(QSize(24, 24));
    TBRefresh = makeToolButton(ToolBar2, QStringLiteral("TBRefresh"), QStringLiteral("Refresh"), "refresh");
    SBReady = makeToolButton(ToolBar2, QStringLiteral("SBReady"),
                             QStringLiteral("Show players ready"), "showready");
    SBPlaying = makeToolButton(ToolBar2, QStringLiteral("SBPlaying"),
                               QStringLiteral("Show players playing"), "showplaying");
    SBOnLine = makeToolButton(ToolBar2, QStringLiteral("SBOnLine"),
                              QStringLiteral("Show players on line"), "showonline");
    ToolBar2->addWidget(TBRefresh);
    ToolBar2->addSeparator();
    for (QToolButton* filter : {SBReady, SBPlaying, SBOnLine}) {
        filter->setCheckable(true);
        filter->setChecked(true);
        ToolBar2->addWidget(filter);
    }
    auto* panel1 = new QWidget(TabSheet2);
    panel1->setObjectName(QStringLiteral("Panel1"));
    LNbPlayers = new QLabel(QStringLiteral("Number of players online  : "), panel1);
    LNbPlayers->setObjectName(QStringLiteral("LNbPlayers"));
    auto* countRow = new QHBoxLayout(panel1);
    countRow->setContentsMargins(4, 2, 4, 2);
    countRow->addWidget(LNbPlayers);
    countRow->addStretch(1);

    const std::initializer_list<std::pair<const char*, int>> playerColumns = {
        {"Player Name", 170}, {"Opponent", 110},    {"Status", 60},      {"Rating", 60},
        {"Experience", 70},   {"G", 20},            {"Country", 100},    {"Email", 150},
        {"Saved games", 150}, {"Client", 120},      {"Fisrt name", 120}, {"Last Name", 120},
        {"Host", 250}};
    LVPlayers = makeListView(TabSheet2, "LVPlayers", playerColumns);
    LVTemp = makeListView(TabSheet2, "LVTemp", playerColumns);
    LVTemp->hide();
    auto* players = new QVBoxLayout(TabSheet2);
    players->setContentsMargins(4, 4, 4, 4);
    players->setSpacing(2);
    players->addWidget(ToolBar2);
    players->addWidget(panel1);
    players->addWidget(LVPlayers, 1);
    players->addWidget(LVTemp);
    PageControl1->addTab(TabSheet2, QStringLiteral("Players"));
    return PMainPanel;
}

QWidget* TFTabulon::buildRightPanel()
{
    PRightPanel = new QWidget(this);
    PRightPanel->setObjectName(QStringLiteral("PRightPanel"));
    PageControl2 = new QTabWidget(PRightPanel);
    PageControl2->setObjectName(QStringLiteral("PageControl2"));
    auto* layout = new QVBoxLayout(PRightPanel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(PageControl2);

    PageControl2->addTab(buildSystemPage(), QStringLiteral("Systeme"));
    PageControl2->addTab(buildGamePage(), QStringLiteral("Game"));
    PageControl2->addTab(buildChatPage(), QStringLiteral("Chat"));
    PageControl2->addTab(buildFriendsPage(), QStringLiteral("Friends"));
    PageControl2->installEventFilter(this);
    return PRightPanel;
}

QWidget* TFTabulon::buildSystemPage()
{
    Systeme = new QWidget;
    Systeme->setObjectName(QStringLiteral("Systeme"));
    DisplayMemo = makeMemo(Systeme, "DisplayMemo", true, false);
    Lcommand = new QLabel(QStringLiteral("Command:"), Systeme);
    Lcommand->setObjectName(QStringLiteral("Lcommand"));
    ECommand = new QLineEdit(Systeme);
    ECommand->setObjectName(QStringLiteral("ECommand"));
    BSendCommand = new QPushButton(QStringLiteral("Send"), Systeme);
    BSendCommand->setObjectName(QStringLiteral("BSendCommand"));
    Lcommand->setBuddy(ECommand);

    auto* command = new QHBoxLayout;
    command->setSpacing(6);
    command->addWidget(Lcommand);
    command->addWidget(ECommand, 1);
    command->addWidget(BSendCommand);
    auto* layout = new QVBoxLayout(Systeme);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(6);
    layout->addWidget(DisplayMemo);
    layout->addLayout(command);
    layout->addStretch(1);
    return Systeme;
}

QWidget* TFTabulon::buildGamePage()
{
    TabSheet3 = new QWidget;
    TabSheet3->setObjectName(QStringLiteral("TabSheet3"));

    SGMovesList = new QTableView(TabSheet3);
    SGMovesList->setObjectName(QStringLiteral("SGMovesList"));
    SGMovesList->setModel(&session_.SGMovesList);
    SGMovesList->setShowGrid(false);
    SGMovesList->verticalHeader()->hide();
    SGMovesList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    SGMovesList->setSelectionMode(QAbstractItemView::SingleSelection);
    SGMovesList->setSelectionBehavior(QAbstractItemView::SelectItems);
    SGMovesList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    SGMovesList->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    SGMovesList->setColumnWidth(0, 36);

    CBGames = new QComboBox(TabSheet3);
    CBGames->setObjectName(QStringLiteral("CBGames"));
    CBGames->setPlaceholderText(QStringLiteral("No game"));
    CB = makeToolButton(TabSheet3, QStringLiteral("CB"), QStringLiteral("Previous game"));
    CB->setIcon(style()->standardIcon(QStyle::SP_MediaSkipBackward));
    SpeedButton2 = makeToolButton(TabSheet3, QStringLiteral("SpeedButton2"), QStringLiteral("Previous move"));
    SpeedButton2->setArrowType(Qt::LeftArrow);
    SpeedButton3 = makeToolButton(TabSheet3, QStringLiteral("SpeedButton3"), QStringLiteral("Next move"));
    SpeedButton3->setArrowType(Qt::RightArrow);
    SpeedButton4 = makeToolButton(TabSheet3, QStringLiteral("SpeedButton4"), QStringLiteral("Next game"));
    SpeedButton4->setIcon(style()->standardIcon(QStyle::SP_MediaSkipForward));
    auto* navigation = new QHBoxLayout;
    navigation->setSpacing(2);
    navigation->addWidget(CBGames, 1);
    navigation->addSpacing(4);
    for (QToolButton* button : {CB, SpeedButton2, SpeedButton3, SpeedButton4}) {
        button->setAutoRaise(false);
        navigation->addWidget(button);
    }

    PCGNUB = new QTabWidget(TabSheet3);
    PCGNUB->setObjectName(QStringLiteral("PCGNUB"));
    MMoves = makeMemo(nullptr, "MMoves", true, false);
    MCube = makeMemo(nullptr, "MCube", true, false);
    PCGNUB->addTab(MMoves, QStringLiteral("Moves"));
    PCGNUB->addTab(MCube, QStringLiteral("Cube"));

    auto* ids = new QGridLayout;
    ids->setHorizontalSpacing(6);
    ids->setVerticalSpacing(4);
    const std::pair<QLineEdit**, const char*> idEdits[] = {{&EPosId, "EPosId"}, {&EMatchId, "EMatchId"}};
    const QString idCaptions[] = {QStringLiteral("Position Id : "), QStringLiteral("Match Id : ")};
    for (int i = 0; i < 2; ++i) {
        auto* edit = new QLineEdit(TabSheet3);
        edit->setObjectName(QLatin1String(idEdits[i].second));
        edit->setReadOnly(true);
        *idEdits[i].first = edit;
        auto* caption = new QLabel(idCaptions[i], TabSheet3);
        caption->setBuddy(edit);
        ids->addWidget(caption, i, 0);
        ids->addWidget(edit, i, 1);
    }

    auto* layout = new QVBoxLayout(TabSheet3);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);
    layout->addWidget(SGMovesList);
    layout->addLayout(navigation);
    layout->addWidget(PCGNUB, 1);
    layout->addLayout(ids);
    return TabSheet3;
}

QWidget* TFTabulon::buildChatPage()
{
    TabSheet4 = new QWidget;
    TabSheet4->setObjectName(QStringLiteral("TabSheet4"));
    GroupBox1 = makeChatBox(TabSheet4, "GroupBox1", QStringLiteral("Public messages"),
                            MPublicMessages, "MPublicMessages", CBPublic, "CBPublic",
                            {QStringLiteral("Shout")}, EShout, "EShout");
    GroupBox2 = makeChatBox(TabSheet4, "GroupBox2", QStringLiteral("Private messages"),
                            MPrivateMessages, "MPrivateMessages", CBPrivate, "CBPrivate",
                            {QStringLiteral("Kibitz"), QStringLiteral("Whisper")}, EKibitz, "EKibitz");
    auto* layout = new QVBoxLayout(TabSheet4);
    layout->setContentsMargins(4, 0, 4, 0);
    layout->setSpacing(4);
    layout->addWidget(GroupBox1);
    layout->addWidget(GroupBox2);
    layout->addStretch(1);
    return TabSheet4;
}

QWidget* TFTabulon::buildFriendsPage()
{
    TabSheet5 = new QWidget;
    TabSheet5->setObjectName(QStringLiteral("TabSheet5"));
    const auto makeBox = [this](const char* name, const QString& title, const char* listName,
                                const char* firstColumn, QTreeView*& list) {
        auto* box = new QGroupBox(title, TabSheet5);
        box->setObjectName(QLatin1String(name));
        list = makeListView(box, listName,
                            {{firstColumn, 140}, {"Rating", 98}, {"Rating change", 100}, {"Status", 0}});
        auto* layout = new QVBoxLayout(box);
        layout->setContentsMargins(6, 4, 6, 6);
        layout->addWidget(list);
        return box;
    };
    GroupBox3 = makeBox("GroupBox3", QStringLiteral("Friends"), "LVFriends", "Friends", LVFriends);
    GroupBox4 = makeBox("GroupBox4", QStringLiteral("Villains"), "LVVilains", "Villains", LVVilains);
    auto* layout = new QVBoxLayout(TabSheet5);
    layout->setContentsMargins(4, 0, 4, 0);
    layout->setSpacing(4);
    layout->addWidget(GroupBox3);
    layout->addStretch(1);
    layout->addWidget(GroupBox4);
    return TabSheet5;
}

void TFTabulon::bindSession()
{
    new TextLogView(session_.DisplayMemo, DisplayMemo);

    for (int i = 0; i < StatusPanelCount; ++i) {
        adversairePanels_[std::size_t(i)]->setText(session_.Status.SBAdversaire[std::size_t(i)]);
        joueurPanels_[std::size_t(i)]->setText(session_.Status.SBJoueur[std::size_t(i)]);
    }
    connect(&session_.Status, &StatusBars::panelChanged, this,
            [this](const QString& bar, int panel, const QString& text) {
                if (QLabel* label = StatusPanel(bar, panel))
                    label->setText(text);
            });

    connect(&link_, &TelnetLink::dataAvailable, &session_, &ClientSession::IdTelnetDataAvailable);
    // The line queue sets the pace, so a server that floods the program is held back by TCP.
    link_.connection().SetReadGate([this] {
        return session_.MBuffer.count() - session_.ProcessedLineCount < MaxUnhandledLines;
    });
    connect(&link_, &TelnetLink::sessionConnected, &session_,
            &ClientSession::idTelnetSessionConnected);
    connect(Timer2, &QTimer::timeout, &session_, &ClientSession::Timer2Timer);
    connect(&session_, &ClientSession::debugWindowWanted, this, &TFTabulon::ShowDebugWindow);
    connect(&session_, &ClientSession::settingsError, this, [this](const QString& message) {
        // A modal box would hold a shut-down that nobody is there to answer: the message goes
        // to the error output instead.
        if (closingUnattended_) {
            std::fprintf(stderr, "tabulon: %s\n", qPrintable(message));
            return;
        }
        QMessageBox::warning(this, windowTitle(), message);
    });

    connect(ECommand, &QLineEdit::returnPressed, this, &TFTabulon::ECommandKeyDown);
    connect(BSendCommand, &QPushButton::clicked, this, &TFTabulon::BSendCommandClick);
    connect(Ongoinggames1, &QAction::triggered, &session_, &ClientSession::Ongoinggames1Click);
    connect(Watchers1, &QAction::triggered, &session_, &ClientSession::Watchers1Click);
    connect(ime1, &QAction::triggered, &session_, &ClientSession::ime1Click);
    connect(Averageusers1, &QAction::triggered, &session_, &ClientSession::Averageusers1Click);
    connect(Fibsversion1, &QAction::triggered, &session_, &ClientSession::Fibsversion1Click);
    connect(Disconect1, &QAction::triggered, &session_, &ClientSession::Disconnect);
    connect(TBDisconnect, &QToolButton::clicked, &session_, &ClientSession::Disconnect);
    connect(Website1, &QAction::triggered, this, [] { OpenTabulonWebSite(); });
    connect(About1, &QAction::triggered, this, &TFTabulon::About1Click);
    bindLogin();
    bindGameCommands();
}

QSize TFTabulon::BoardSize() const
{
    return session_.Board.Renderer.BoardSize();
}

void TFTabulon::ApplyBoardTheme()
{
    session_.Board.ApplyTheme();
    LayOutWindow();
    session_.Board.DrawPosition(session_.CurrentPosition);
}

void TFTabulon::LayOutWindow()
{
    const QSize board = BoardSize();
    IBoard->setFixedSize(board);
    SBAdversaire->setFixedWidth(board.width());
    SBJoueur->setFixedWidth(board.width());
    PMainPanel->setFixedWidth(board.width() + 10);
    PRightPanel->setFixedWidth(RightPanelWidth);
    setFixedSize(board.width() + 428, board.height() + 180);
    layOutPages();
}

bool TFTabulon::eventFilter(QObject* watched, QEvent* event)
{
    // The pages' heights follow the right-hand page control's height.
    if (watched == PageControl2 && event->type() == QEvent::Resize)
        layOutPages();
    return QMainWindow::eventFilter(watched, event);
}

void TFTabulon::layOutPages()
{
    const int height = PageControl2->height();
    const int memo = std::max(0, height - 70);
    DisplayMemo->setFixedHeight(memo);

    const int half = std::max(0, (height - 30) / 2);
    // Each chat box's memo takes what its title and input line leave of it.
    if (session_.Settings.HideShouts) {
        GroupBox1->hide();
        GroupBox2->setFixedHeight(std::max(0, height - 30));
    } else {
        GroupBox1->show();
        GroupBox1->setFixedHeight(half);
        GroupBox2->setFixedHeight(half);
    }
    GroupBox3->setFixedHeight(half);
    GroupBox4->setFixedHeight(half);
    SGMovesList->setFixedHeight(std::max(0, height - 415));
}

void TFTabulon::ApplyFontSize()
{
    struct Rule {
        const char* value;
        int points;
        int rowHeight;
        int columnWidth;
        int screenExtra; // 0: the window keeps its width
    };
    static constexpr Rule rules[] = {
        {"Default", 8, 16, 165, 0}, {"8", 8, 16, 165, 560}, {"10", 10, 18, 265, 630}, {"12", 12, 20, 365, 830}};
    const Rule* rule = &rules[0];
    for (const Rule& r : rules) {
        if (session_.Settings.FontSize == QLatin1String(r.value))
            rule = &r;
    }

    for (QWidget* w : std::initializer_list<QWidget*>{LVPlayers, SGMovesList, MMoves, MCube,
                                                      MPublicMessages, MPrivateMessages, LVFriends,
                                                      LVVilains})
        setPointSize(w, rule->points);
    setPointSize(DisplayMemo, rule->screenExtra == 0 ? 7 : rule->points);
    SGMovesList->verticalHeader()->setMinimumSectionSize(rule->rowHeight);
    SGMovesList->verticalHeader()->setDefaultSectionSize(rule->rowHeight);
    SGMovesList->setColumnWidth(1, rule->columnWidth);
    SGMovesList->setColumnWidth(2, rule->columnWidth);

    bool bothScrollBars = false;
    if (rule->screenExtra > 0) {
        const int board = BoardSize().width();
        const QScreen* screen = QGuiApplication::primaryScreen();
        const bool wide = screen && screen->availableGeometry().width() >= board + rule->screenExtra;
        if (wide) {
            setFixedWidth(board + rule->screenExtra);
            PRightPanel->setFixedWidth(rule->screenExtra - 20);
        }
        bothScrollBars = !wide;
        setPointSize(EPosId, 8);
        setPointSize(EMatchId, 8);
    }
    for (QPlainTextEdit* memo : {DisplayMemo, MCube, MMoves}) {
        memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        memo->setHorizontalScrollBarPolicy(bothScrollBars ? Qt::ScrollBarAlwaysOn
                                                          : Qt::ScrollBarAlwaysOff);
    }
}

QLabel* TFTabulon::StatusPanel(const QString& bar, int panel) const
{
    if (panel < 0 || panel >= StatusPanelCount)
        return nullptr;
    if (bar == QLatin1String("SBAdversaire"))
        return adversairePanels_[std::size_t(panel)];
    if (bar == QLatin1String("SBJoueur"))
        return joueurPanels_[std::size_t(panel)];
    return nullptr;
}

void TFTabulon::ShowDebugWindow(bool visible)
{
    if (visible) {
        FDEbug->show();
        FDEbug->raise();
    } else {
        FDEbug->hide();
    }
}

void TFTabulon::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!formShown_) {
        formShown_ = true;
        FormShow();
    }
}

void TFTabulon::FormShow()
{
    ShowDebugWindow(session_.Settings.Debug);
}

void TFTabulon::CloseUnattended()
{
    closingUnattended_ = true;
    close();
}

void TFTabulon::closeEvent(QCloseEvent* event)
{
    if (!formDestroyed_) {
        formDestroyed_ = true;
        FormDestroy();
    }
    FDEbug->hide();
    QMainWindow::closeEvent(event);
}

void TFTabulon::FormDestroy()
{
    session_.WindowSettings.TabSelected = PageControl2->currentIndex();
    session_.FormDestroy();
}

void TFTabulon::ECommandKeyDown()
{
    session_.BSendCommandClick(ECommand->text());
    ECommand->clear();
}

void TFTabulon::BSendCommandClick()
{
    if (!session_.IsConnected())
        return;
    session_.BSendCommandClick(ECommand->text());
    ECommand->clear();
}

void TFTabulon::About1Click()
{
    TFAbout about(this);
    about.exec();
}
