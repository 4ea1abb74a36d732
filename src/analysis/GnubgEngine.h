#pragma once

#include "analysis/GnubgParser.h"
#include "analysis/TConsoleIO.h"

#include <QList>
#include <QObject>
#include <QString>

class ClientSession;
class TextLog;
struct TPositions;

// GNU Backgammon kept running beside the program. It is given a new match once and then only
// positions; its hint and eval output fills the "Moves" and "Cube" boxes. Nothing waits for
// the answer: it arrives through the console's output events.
class GnubgEngine : public QObject {
    Q_OBJECT
public:
    GnubgEngine(TextLog& moves, TextLog& cube, QObject* parent = nullptr);

    // AppFolder + "GNUBG/gnubg-cli" when it is there, else gnubg on the PATH, else the Debian
    // package's binary.
    static QString EngineProgram(const QString& appFolder);
    // The engine's private settings folder, so the user's own settings never change the
    // output layout the parser reads.
    static QString SettingsFolder(const QString& appFolder);

    // Starts the engine and sends the set-up lines; false (the boxes saying why) when it
    // cannot be started.
    bool StartEngine(const QString& appFolder);
    // Hands the position to the engine; an engine that is not running is started again first.
    void RequestAnalysis(const QString& posId, const QString& matchId, bool secondColumn,
                         bool unlimitedMatch);
    // Asks the engine to quit.
    void StopEngine();

    bool IsRunning() const { return ConsoleIO.IsRunning(); }
    // Requests whose answer has not been read completely yet.
    int PendingAnswers() const { return int(pendingMoneyNotes_.size()); }

    TConsoleIO ConsoleIO;
    GnubgOutputParser Parser;

signals:
    // Every request has been answered (or cannot be).
    void analysisReady();

private:
    void receiveOutput(const QString& line);
    void statusChanged(bool running);
    void showUnavailable(const QString& why);
    void send(const QString& line);

    TextLog& moves_;
    TextLog& cube_;
    QString appFolder_;
    QList<bool> pendingMoneyNotes_;
    bool stopping_ = false;
};

// The analysis request of a selected moves-list cell: the position's IDs, already shown in
// EPosId and EMatchId, go to the session's engine.
void RequestAnalysis(ClientSession& session, const TPositions& position, bool secondColumn);
