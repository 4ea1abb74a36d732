#pragma once

#include "app/WidgetPrompter.h"
#include "board/SoundEffects.h"
#include "board/WidgetBoard.h"
#include "net/TelnetLink.h"
#include "protocol/ClientSession.h"
#include "protocol/QtClock.h"

#include <QMainWindow>
#include <QSize>
#include <array>

class QAction;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QTableView;
class QTimer;
class QToolBar;
class QToolButton;
class QTreeView;
class TFDEbug;

// The main window. It owns the session and its ports and shows the session's state; the
// controls carry the names the rest of the program knows them by.
class TFTabulon : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int RightPanelWidth = 410;
    static constexpr int StatusPanelCount = 3;

    // appFolder: where tabulon.ini and the data files are; empty for the program's folder.
    explicit TFTabulon(const QString& appFolder = QString(), QWidget* parent = nullptr);
    ~TFTabulon() override;

    ClientSession& session() { return session_; }
    // Closes the window for a shut-down nobody watches (a termination signal): failures are
    // written to the error output rather than asked about in a box.
    void CloseUnattended();

    // Size of the drawn board; the window is laid out around it.
    QSize BoardSize() const;
    // Sizes the window, the panels and the pages around the board.
    void LayOutWindow();
    // Loads the theme the settings name again (Preferences Ok), lays the window out around
    // it and redraws the position; a theme that fails leaves the one in place.
    void ApplyBoardTheme();
    // Text sizes, moves-list geometry, window width and memo scroll bars for Settings.FontSize.
    void ApplyFontSize();
    // Shows and raises the debug window, or hides it.
    void ShowDebugWindow(bool visible);
    // Panel 0..2 of "SBAdversaire" or "SBJoueur".
    QLabel* StatusPanel(const QString& bar, int panel) const;
    // Game > Preferences: the Preferences window, applied on Ok.
    void Preferences1Click();
    // Connect (tool button, menu, a refused account name): the Connect window, then the
    // connection it asks for.
    void TBConnectClick();
    // Resign (tool button, menu): the resign window, modal, while connected.
    void TBResignClick();

    // Secondary window created with the main window.
    TFDEbug* FDEbug = nullptr;

    // Menu bar.
    QMenuBar* MainMenu = nullptr;
    QAction *Connect1, *Disconect1, *Preferences1, *ImportdatafromJavaFibs1;
    QAction *Invite2, *Profile2, *Watch2, *Unwatch1, *Listrepbot2, *Askrepbot2, *Vouchfor2,
        *Complainabout2, *Withdraw2, *Message1, *Gag3, *Blind3, *Friend1, *Vilain2;
    QAction *Roll1, *Double1, *Accrept1, *Reject1, *Resign1, *Leave1, *Refreshboard1,
        *oggleready1, *oggleautomove1, *ogglegreedy1, *oggledouble1;
    QAction *Showratings1, *Gag2, *Blind2, *Showmessagesbox1, *ViewAutoInvite1, *Showsaved1;
    QAction* Showrating1;
    QMenu *Playerscommands1, *Directorscommands1;
    QAction *Ongoinggames1, *Watchers1, *ime1, *Averageusers1, *Fibsversion1;
    QAction *Index1, *Commands1, *Website1, *Checkforupdates1, *About1;

    // Tool bar.
    QToolBar* ToolBar;
    QToolButton *TBConnect, *TBDisconnect, *TBRefreshBoard, *TBUndo, *TBAccept, *TBReject,
        *TBResign, *TBReady, *TBAutomove, *TBGreedy, *TBDouble;
    QWidget* ToolBar1;
    std::array<QToolButton*, 10> ProgButtons; // TB0, tb1 ... tb9

    // Left panel: board and players.
    QWidget* PMainPanel;
    QTabWidget* PageControl1;
    QWidget *TabSheet1, *TabSheet2;
    QFrame *SBAdversaire, *SBJoueur;
    WidgetBoard* IBoard;
    QPlainTextEdit* MBuffer;
    QToolBar* ToolBar2;
    QToolButton *TBRefresh, *SBReady, *SBPlaying, *SBOnLine;
    QLabel* LNbPlayers;
    QTreeView *LVPlayers, *LVTemp;

    // Right panel: system memo, game, chat, friends.
    QWidget* PRightPanel;
    QTabWidget* PageControl2;
    QWidget *Systeme, *TabSheet3, *TabSheet4, *TabSheet5;
    QPlainTextEdit* DisplayMemo;
    QLabel* Lcommand;
    QLineEdit* ECommand;
    QPushButton* BSendCommand;
    QTableView* SGMovesList;
    QComboBox* CBGames;
    QToolButton *CB, *SpeedButton2, *SpeedButton3, *SpeedButton4;
    QLineEdit *EPosId, *EMatchId;
    QTabWidget* PCGNUB;
    QPlainTextEdit *MMoves, *MCube;
    QGroupBox *GroupBox1, *GroupBox2, *GroupBox3, *GroupBox4;
    QComboBox *CBPublic, *CBPrivate;
    QLineEdit *EShout, *EKibitz;
    QPlainTextEdit *MPublicMessages, *MPrivateMessages;
    QTreeView *LVFriends, *LVVilains;

    // Not shown.
    QTimer* Timer2;
    QMenu *PopupMenuPlayer, *PopupMenuFriends, *PopupMenuVillains;
    QAction* Profile1;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenus();
    void buildToolBar();
    QWidget* buildLeftPanel();
    QWidget* buildRightPanel();
    QWidget* buildSystemPage();
    QWidget* buildGamePage();
    QWidget* buildChatPage();
    QWidget* buildFriendsPage();
    void bindSession();
    void layOutPages();

    void FormShow();
    void FormDestroy();
    void ECommandKeyDown();
    void BSendCommandClick();
    void About1Click();
    // The Connect and Preferences commands and the toggle buttons (TFTabulonLogin.cpp).
    void bindLogin();
    // The game commands of the tool bar and the Match menu (TFTabulonGame.cpp).
    void bindGameCommands();

    QtClock clock_;
    TelnetLink link_;
    WidgetPrompter prompter_;
    SoundEffects sound_;
    ClientSession session_;
    std::array<QLabel*, StatusPanelCount> adversairePanels_{};
    std::array<QLabel*, StatusPanelCount> joueurPanels_{};
    bool formShown_ = false;
    bool formDestroyed_ = false;
    bool closingUnattended_ = false;
};
