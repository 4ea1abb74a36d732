#include "analysis/GnubgEngine.h"

#include "model/GnubgIds.h"
#include "protocol/ClientSession.h"
#include "protocol/TextLog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

// What the parser relies on: match equities printed as "MWC" rather than "Eq.".
const char* const EngineSettings = "set output mwc on\n";

QString Unavailable(const QString& why)
{
    return QStringLiteral("The analysis is unavailable: %1").arg(why);
}

} // namespace

GnubgEngine::GnubgEngine(TextLog& moves, TextLog& cube, QObject* parent)
    : QObject(parent), Parser(moves, cube), moves_(moves), cube_(cube)
{
    ConsoleIO.TerminateCommand = QStringLiteral("quit");
    // The engine ends its lines with a line feed alone; a carriage return is dropped in case
    // a build ends them with both.
    ConsoleIO.SplitMode = smSplitchar;
    ConsoleIO.SplitChar = '\n';
    ConsoleIO.DropTrailingCR = true;
    ConsoleIO.OnReceiveOutput = [this](TConsoleIO*, const QString& line) { receiveOutput(line); };
    ConsoleIO.OnReceiveError = [](TConsoleIO*, const QString&) {};
    ConsoleIO.OnError = [](TConsoleIO*, const QString&) {};
    ConsoleIO.OnProcessStatusChange = [this](TConsoleIO*, bool running) { statusChanged(running); };
}

QString GnubgEngine::EngineProgram(const QString& appFolder)
{
#ifdef Q_OS_WIN
    const QString shipped = appFolder + QStringLiteral("GNUBG/gnubg-cli.exe");
#else
    const QString shipped = appFolder + QStringLiteral("GNUBG/gnubg-cli");
#endif
    if (QFileInfo(shipped).isExecutable())
        return shipped;
    const QString onPath = QStandardPaths::findExecutable(QStringLiteral("gnubg"));
    if (!onPath.isEmpty())
        return onPath;
    return QStringLiteral("/usr/games/gnubg");
}

QString GnubgEngine::SettingsFolder(const QString& appFolder)
{
    return appFolder + QStringLiteral("GNUBG/settings");
}

bool GnubgEngine::StartEngine(const QString& appFolder)
{
    appFolder_ = appFolder;
    stopping_ = false;
    const QString program = EngineProgram(appFolder);
    QStringList arguments;
#ifndef Q_OS_WIN
    const QString settings = SettingsFolder(appFolder);
    QFile rc(settings + QStringLiteral("/gnubgrc"));
    if (!QDir().mkpath(settings) || !rc.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || rc.write(EngineSettings) < 0) {
        showUnavailable(QStringLiteral("its settings cannot be written to %1: %2")
                            .arg(rc.fileName(), rc.errorString()));
        return false;
    }
    rc.close();
    arguments << QStringLiteral("-t") << QStringLiteral("-q") << QStringLiteral("-s") << settings;
#endif
    QString error;
    if (!ConsoleIO.Start(program, arguments, QString(), false, &error)) {
        showUnavailable(QStringLiteral("GNU Backgammon cannot be started (%1).").arg(error));
        return false;
    }
    send(QStringLiteral("New match"));
    send(QStringLiteral("set evaluation chequerplay evaluation plies 2"));
    send(QStringLiteral("set evaluation cube evaluation plies 2"));
    return true;
}

void GnubgEngine::RequestAnalysis(const QString& posId, const QString& matchId, bool secondColumn,
                                  bool unlimitedMatch)
{
    if (appFolder_.isEmpty()) {
        showUnavailable(QStringLiteral("GNU Backgammon was not started with the program."));
        emit analysisReady();
        return;
    }
    if (!ConsoleIO.IsRunning() && !StartEngine(appFolder_)) {
        emit analysisReady();
        return;
    }
    pendingMoneyNotes_.append(unlimitedMatch);
    send(QStringLiteral("set matchid ") + matchId);
    send(QStringLiteral("set board ") + posId);
    Parser.AnalysingSecondColumn = secondColumn;
    send(QStringLiteral("hint ") + posId);
    send(QStringLiteral("eval"));
}

void GnubgEngine::StopEngine()
{
    stopping_ = true;
    ConsoleIO.Stop();
}

void GnubgEngine::send(const QString& line)
{
    ConsoleIO.SendLine(line);
}

void GnubgEngine::receiveOutput(const QString& line)
{
    const bool cubeWasListening = Parser.CubeListening;
    Parser.ReceiveLine(line);
    if (!cubeWasListening || Parser.CubeListening || pendingMoneyNotes_.isEmpty())
        return;
    if (pendingMoneyNotes_.takeFirst())
        cube_.addLine(QStringLiteral("Unlimited match: analysed as a money game."));
    if (pendingMoneyNotes_.isEmpty())
        emit analysisReady();
}

void GnubgEngine::statusChanged(bool running)
{
    if (running)
        return;
    Parser.MovesListening = false;
    Parser.CubeListening = false;
    if (!stopping_)
        showUnavailable(QStringLiteral("GNU Backgammon has ended (exit code %1).")
                            .arg(ConsoleIO.ExitCode()));
    if (!pendingMoneyNotes_.isEmpty()) {
        pendingMoneyNotes_.clear();
        emit analysisReady();
    }
}

void GnubgEngine::showUnavailable(const QString& why)
{
    for (TextLog* box : {&moves_, &cube_}) {
        box->clear();
        box->addLine(Unavailable(why));
    }
}

void RequestAnalysis(ClientSession& session, const TPositions& position, bool secondColumn)
{
    session.Gnubg.RequestAnalysis(session.EPosId, session.EMatchId, secondColumn,
                                  position.MatchLength == UnlimitedMatchLength);
}
