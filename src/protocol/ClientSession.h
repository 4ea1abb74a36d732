#pragma once

#include "analysis/GnubgEngine.h"
#include "chat/ChatModels.h"
#include "app/SettingsStore.h"
#include "board/BoardView.h"
#include "board/MousePlay.h"
#include "board/TBoardDescription.h"
#include "community/FriendsList.h"
#include "invite/InviteWindows.h"
#include "model/TOwnInfo.h"
#include "model/TPositions.h"
#include "model/TSettings.h"
#include "protocol/LabelText.h"
#include "protocol/LineQueue.h"
#include "protocol/ListCaptures.h"
#include "protocol/Ports.h"
#include "protocol/PlayersListModel.h"
#include "protocol/StatusBars.h"
#include "protocol/TextLog.h"
#include "protocol/ToolButtonStates.h"
#include "records/MovesList.h"
#include "records/SavedGames.h"

#include <QColor>
#include <QObject>
#include <QStringList>
#include <QVector>
#include <functional>

class LineDispatcher;
class PacedSender;

// Everything of the main window that is not a pixel: the records, the flags, the line queue
// and its dispatcher, and the contents of the memos and status bars. Widgets bind to it.
class ClientSession : public QObject {
    Q_OBJECT
public:
    static constexpr int Timer1IntervalMs = 10;
    static constexpr int Timer2IntervalMs = 5000;
    // How long the open line must stay unchanged before it is handled.
    static constexpr int OpenLineQuietMs = 100;
    // How long one tick may keep handling lines before it yields to the window.
    static constexpr int TickBudgetMs = 8;
    static const QColor DebugEchoColour;

    ClientSession(const QString& appFolder, const SessionPorts& ports, QObject* parent = nullptr);
    ~ClientSession() override;

    // The headless steps of start-up and shut-down.
    void FormCreate();
    void FormDestroy();

    // Events from the connection.
    void IdTelnetDataAvailable(const QByteArray& chunk);
    void idTelnetSessionConnected(int error, const QString& reason);

    // The dispatch tick and the connection poll.
    void Timer1Timer();
    void Timer2Timer();

    // Sending. Every command goes through the paced queue, so it keeps its place behind the
    // pauses of a running sequence; nothing is sent while the connection is closed.
    bool IsConnected() const;
    void SendStr(const QString& text, int pauseBeforeMs = 0);
    void SendCommand(const QString& command, int pauseBeforeMs = 0); // adds "\r\n"
    void Later(int pauseMs, std::function<void()> action);            // after the queued sends
    bool PacedIdle() const;

    // Connecting (the Connect command without its window, as the automatic login runs it).
    void StartConnection(const QString& host, const QString& port);
    void Disconnect();

    // The command line and the Commands menu.
    void BSendCommandClick(const QString& text);
    void Ongoinggames1Click();
    void Watchers1Click();
    void ime1Click();
    void Averageusers1Click();
    void Fibsversion1Click();

    // Held while a modal question or a checker animation runs: no line is handled meanwhile.
    void HoldQueue();
    void ReleaseQueue();
    bool QueueHeld() const { return holds_ > 0; }

    // Shows a line in the system memo, with the debug window's green echo.
    void DisplayLine(const QString& line);
    void DebugWrite(const QString& text);
    QString ClientId() const;

    LineDispatcher& Dispatcher() { return *dispatcher_; }
    SessionPorts& Ports() { return ports_; }

    // Main window fields.
    TOwnInfo OwnInfo;
    TSettings Settings;
    TWindowSettings WindowSettings;
    QString AppFolder;
    int ProcessedLineCount = 0;
    bool Registering = false;
    bool ToggleMoreboardsAfterLogin = false;
    QStringList CountryNames;
    QStringList CountryCodes;
    bool SavedListHeaderSeen = false;
    bool ReadingSavedList = false;
    // A "**"-marked saved-games row was read before the notices row emptied it.
    bool SavedRowReadEarly = false;
    QVector<TSavedgame> SavedGames;
    TPositions CurrentPosition;
    TPositions BoardLinePosition;
    TPositions CommittedPosition;
    QVector<TGames> Games;
    // The "Game" tab's moves list and game list.
    MovesListModel SGMovesList;
    GameListModel CBGames;
    // The auto-invite list: names and match lengths, same index.
    QStringList AutoInviteNames;
    QStringList AutoInviteLengths;
    // The invite and join windows' contents; each flag routes RepBot's next reply to its window.
    InviteWindowModel InviteWindow;
    JoinWindowModel JoinWindow;
    bool InviteAwaitsRepBot = false;
    bool JoinAwaitsRepBot = false;
    // The inviter and his rating when the join window was last filled.
    QString JoinOpponent;
    int JoinOpponentRating = 0;
    int ShownGame = 0;
    int GameRowCount = 0;
    bool Watching = false;
    bool Playing = false;
    bool ShowingStoredPosition = false;
    bool BrowsingOldGame = false;
    bool OpponentDoubled = false;
    bool CrawfordGame = false;
    bool CrawfordDone = false;
    // Path of the last match file written.
    QString LastMatchFile;
    QString MoveNotation;
    QString WatchedPlayer;
    QString OpponentName;
    TBoardDescription BoardDescription;
    QString ConnectionHost;
    QString ConnectionPort;

    // Dispatcher flags.
    bool FirstDataSeen = false;
    bool RatingsCapture = false;
    int RatingsRowsExpected = 0;
    bool GagListCapture = false;
    bool BlindListCapture = false;

    // Contents of the window's memos and status bars.
    LineQueue MBuffer;
    TextLog DisplayMemo;
    TextLog MDebug;
    StatusBars Status;
    // Pressed states of the tool bar's toggle buttons.
    ToolButtonStates ToolButtons;
    // The ratings, gag and blind listings captured for their windows.
    ListCaptures Captures;
    TextLog MPrivateMessages;
    // The chat tab's shouts and private command choice, and the messages window.
    TextLog MPublicMessages;
    ChoiceList CBPrivate{{QStringLiteral("Kibitz"), QStringLiteral("Whisper")}};
    MessagesBox FFibsMessage;

    // The players tab: the master list, the visible list, the filter buttons (down: true)
    // and the count label; the friends tab's two lists.
    PlayersListModel LVTemp;
    PlayersListModel LVPlayers;
    // Id of the selected LVPlayers row (0: none).
    quint64 LVPlayersSelected = 0;
    bool SBReady = true;
    bool SBPlaying = true;
    bool SBOnLine = true;
    LabelText LNbPlayers{QStringLiteral("Number of players online  : ")};
    FriendsListModel LVFriends{QStringLiteral("Friends")};
    FriendsListModel LVVilains{QStringLiteral("Villains")};

    // The loaded board theme, the composed board and the checker moves in progress.
    BoardView Board{*this};
    // Playing with the mouse on the board.
    MousePlay Mouse{*this};

    // The analysis boxes under the moves list: the IDs of the selected position and the
    // engine's candidate moves and cube analysis.
    QString EPosId;
    QString EMatchId;
    TextLog MMoves;
    TextLog MCube;
    GnubgEngine Gnubg{MMoves, MCube};

signals:
    // EPosId and EMatchId were written.
    void idsShown();
    void debugWindowWanted(bool visible);
    void settingsError(const QString& message);
    // The Connect window is to open again (a refused account name).
    void connectWindowWanted();
    // The "Board" tab is to come to the front (a new match record).
    void boardPageWanted();
    // The "Chat" tab is to come to the front (someone speaks to the user).
    void chatPageWanted();
    // Someone invites the user to a new or a saved match.
    void joinWindowWanted(const QString& line, const QString& name);

private:
    void scheduleTick(int delayMs);
    void handleOneLine();

    SessionPorts ports_;
    LineDispatcher* dispatcher_;
    PacedSender* paced_;
    int holds_ = 0;
    bool dispatching_ = false;
    bool tickScheduled_ = false;
    qint64 tickDueAt_ = 0;
    quint64 tickGeneration_ = 0;
    qint64 lastDataAt_ = 0;
};
