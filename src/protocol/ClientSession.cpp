#include "protocol/ClientSession.h"

#include "app/CountryTable.h"
#include "app/SettingsFile.h"
#include "model/Positions.h"
#include "protocol/LineDispatcher.h"
#include "protocol/PacedSender.h"
#include "protocol/Stretches.h"
#include "protocol/WhoInfoStretch.h"

#include <QPointer>

const QColor ClientSession::DebugEchoColour = QColor(0, 128, 0);

ClientSession::ClientSession(const QString& appFolder, const SessionPorts& ports, QObject* parent)
    : QObject(parent),
      AppFolder(appFolder),
      ports_(ports),
      dispatcher_(new LineDispatcher(*this)),
      paced_(new PacedSender(ports.clock, this))
{
    if (!AppFolder.isEmpty() && !AppFolder.endsWith(QChar('/')))
        AppFolder.append(QChar('/'));
    InstallStretches(*this);
}

ClientSession::~ClientSession()
{
    delete dispatcher_;
}

void ClientSession::FormCreate()
{
    SavedListHeaderSeen = false;
    const SettingsFile file(AppFolder + QStringLiteral("tabulon.ini"));
    ReadSettings(file, AppFolder, Settings, WindowSettings);
    Board.ApplyTheme();
    SetStartingPosition(CurrentPosition);
    if (ports_.board)
        ports_.board->drawPosition(CurrentPosition);
    FirstDataSeen = OpponentDoubled = Watching = Playing = ShowingStoredPosition = false;
    RatingsCapture = false;
    ShownGame = 0;
    LoadFriendsFile(AppFolder + QStringLiteral("friends.frd"), LVFriends, LVVilains);
    LoadCountryTable(AppFolder + QStringLiteral("countriescodes.txt"), CountryNames, CountryCodes);
    if (Settings.Autologin)
        StartConnection(Settings.Server, Settings.Port);
    if (ports_.analysisEngine)
        Gnubg.StartEngine(AppFolder);
}

void ClientSession::FormDestroy()
{
    QString friendsError;
    if (!SaveFriendsFile(AppFolder + QStringLiteral("friends.frd"), LVFriends, LVVilains, &friendsError))
        emit settingsError(QStringLiteral("The friends list could not be saved: %1").arg(friendsError));
    SettingsFile file(AppFolder + QStringLiteral("tabulon.ini"));
    WriteWindowSettings(file, WindowSettings);
    QString error;
    if (!file.save(&error))
        emit settingsError(QStringLiteral("The settings could not be saved to %1: %2")
                               .arg(file.path(), error));
    Board.Renderer.Release();
    Gnubg.StopEngine();
}

bool ClientSession::IsConnected() const
{
    return ports_.link && ports_.link->isConnected();
}

void ClientSession::SendStr(const QString& text, int pauseBeforeMs)
{
    paced_->enqueue(pauseBeforeMs, [this, text] {
        if (IsConnected())
            ports_.link->send(text.toLatin1());
    });
}

void ClientSession::SendCommand(const QString& command, int pauseBeforeMs)
{
    SendStr(command + QStringLiteral("\r\n"), pauseBeforeMs);
}

void ClientSession::Later(int pauseMs, std::function<void()> action)
{
    paced_->enqueue(pauseMs, std::move(action));
}

bool ClientSession::PacedIdle() const
{
    return paced_->idle();
}

QString ClientSession::ClientId() const
{
    static const char genders[] = {'?', '>', '<', '='};
    const int g = Settings.Gender;
    QString id(QChar::fromLatin1(g >= 0 && g < 4 ? genders[g] : '?'));
    if (Settings.Country >= 0 && Settings.Country < CountryCodes.size())
        id += CountryCodes.at(Settings.Country);
    QString name = (Settings.FirstName + Settings.LastName).left(16);
    name = name.leftJustified(16, QChar('_'));
    return id + name + QChar('T');
}

void ClientSession::StartConnection(const QString& host, const QString& port)
{
    if (Settings.Debug)
        emit debugWindowWanted(true);
    DisplayMemo.addLine(QStringLiteral("**Trying to connect to FIBS**"));
    ConnectionHost = host;
    ConnectionPort = port;
    Registering = false;
    QString error;
    if (!ports_.link || !ports_.link->connectTo(host, port, &error))
        DisplayMemo.addLine(
            QStringLiteral("**Error connecting to FIBS, check your internet connection and retry**"));
}

void ClientSession::Disconnect()
{
    if (IsConnected())
        ports_.link->close();
    LVPlayers.Clear();
    SettlePlayersLists(*this);
    DisplayMemo.addLine(QStringLiteral("**Disconnected**"));
}

void ClientSession::idTelnetSessionConnected(int error, const QString& reason)
{
    if (error != 0) {
        // The attempt failed after it started: say why instead of leaving the user guessing.
        DisplayMemo.addLine(QStringLiteral("**Could not connect to FIBS: %1**").arg(reason));
        return;
    }
    DisplayMemo.addLine(QStringLiteral("**Connected to FIBS**"));
    DisplayMemo.addLine(QString());
    if (Registering) {
        SendCommand(QStringLiteral("login guest"));
        return;
    }
    SendCommand(QStringLiteral("login %1 1008 %2 %3")
                    .arg(ClientId(), Settings.Username, Settings.Password));
    SendCommand(QStringLiteral("set boardstyle 3"), 200);
    if (ToggleMoreboardsAfterLogin) {
        SendCommand(QStringLiteral("toggle moreboards"), 1000);
        ToggleMoreboardsAfterLogin = false;
    }
    PlayersRefresh(*this);
    Later(0, [this] { Status.setPanel(QStringLiteral("SBAdversaire"), 2, QStringLiteral("Connected")); });
    Later(200, [] {});
}

void ClientSession::IdTelnetDataAvailable(const QByteArray& chunk)
{
    if (!FirstDataSeen) {
        FirstDataSeen = true;
        Later(300, [this] {
            if (IsConnected() && !Registering)
                SendCommand(QStringLiteral("show saved"));
        });
    }
    SavedListHeaderSeen = false;
    const qsizetype zero = chunk.indexOf('\0');
    MBuffer.AppendToQueue(QString::fromLatin1(zero < 0 ? chunk : chunk.left(zero)));
    lastDataAt_ = ports_.clock->now();
    scheduleTick(0);
}

void ClientSession::scheduleTick(int delayMs)
{
    const qint64 due = ports_.clock->now() + delayMs;
    if (tickScheduled_ && tickDueAt_ <= due)
        return;
    tickScheduled_ = true;
    tickDueAt_ = due;
    // The clock cannot cancel a timer: a later tick overtaken by this one lapses instead,
    // or every read ending mid-line would leave one more tick behind.
    const quint64 generation = ++tickGeneration_;
    QPointer<ClientSession> self(this);
    ports_.clock->after(delayMs, [self, generation] {
        if (self && self->tickGeneration_ == generation)
            self->Timer1Timer();
    });
}

void ClientSession::Timer1Timer()
{
    tickScheduled_ = false;
    if (dispatching_ || holds_ > 0)
        return;
    const qint64 start = ports_.clock->now();
    while (ProcessedLineCount < MBuffer.count() && holds_ == 0) {
        if (MBuffer.isOpenLine(ProcessedLineCount)) {
            // A prompt arrives without a line end: handle it once the server has gone quiet,
            // so a line that the network split in two is not handled as two broken lines.
            if (MBuffer.at(ProcessedLineCount).isEmpty()) {
                ++ProcessedLineCount;
                break;
            }
            const qint64 quietFor = ports_.clock->now() - lastDataAt_;
            if (quietFor < OpenLineQuietMs) {
                scheduleTick(int(OpenLineQuietMs - quietFor));
                break;
            }
        }
        handleOneLine();
        ++ProcessedLineCount;
        if (ProcessedLineCount < MBuffer.count() && ports_.clock->now() - start >= TickBudgetMs) {
            scheduleTick(0);
            break;
        }
    }
    if (ProcessedLineCount >= MBuffer.count()) {
        ProcessedLineCount = 0;
        MBuffer.clear();
    } else if (ProcessedLineCount > 0) {
        // Handled lines go at once: a server that never pauses would otherwise keep every
        // line it ever sent in the queue.
        MBuffer.Lines.remove(0, ProcessedLineCount);
        ProcessedLineCount = 0;
    }
}

void ClientSession::handleOneLine()
{
    dispatching_ = true;
    const QString line = MBuffer.at(ProcessedLineCount);
    if (Settings.Debug && !line.isEmpty())
        MDebug.addLine(line);
    const QString shown = dispatcher_->Dispatch(line);
    if (!shown.isEmpty())
        DisplayLine(shown);
    dispatching_ = false;
}

void ClientSession::DisplayLine(const QString& line)
{
    DisplayMemo.appendText(line + QStringLiteral("\r\n"));
    if (Settings.Debug && !MDebug.lines().isEmpty())
        MDebug.replaceLastLine(MDebug.lines().last().text + QStringLiteral("//") + line,
                               DebugEchoColour);
}

void ClientSession::DebugWrite(const QString& text)
{
    MDebug.addLine(text);
}

void ClientSession::HoldQueue()
{
    ++holds_;
}

void ClientSession::ReleaseQueue()
{
    if (holds_ > 0 && --holds_ == 0)
        scheduleTick(0);
}

void ClientSession::Timer2Timer()
{
    if (IsConnected()) {
        Status.setPanel(QStringLiteral("SBAdversaire"), 2, QStringLiteral("Connected"));
    } else {
        Status.setPanel(QStringLiteral("SBAdversaire"), 2, QStringLiteral("Not Connected"));
        Watching = false;
        Playing = false;
    }
}

void ClientSession::BSendCommandClick(const QString& text)
{
    if (IsConnected())
        SendCommand(text);
}

void ClientSession::Ongoinggames1Click() { BSendCommandClick(QStringLiteral("show games")); }
void ClientSession::Watchers1Click() { BSendCommandClick(QStringLiteral("show watchers")); }
void ClientSession::ime1Click() { BSendCommandClick(QStringLiteral("time")); }
void ClientSession::Averageusers1Click() { BSendCommandClick(QStringLiteral("Average")); }
void ClientSession::Fibsversion1Click() { BSendCommandClick(QStringLiteral("version")); }
