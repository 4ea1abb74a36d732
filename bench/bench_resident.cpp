// Memory of the whole program after a long evening: the real main window on the offscreen
// platform logs in to a server with 1,000 players, then watches and records a match of at
// least 25 games from its start to its end, as the server sends it. Reports the resident
// size afterwards; the time is from the first byte until the last line is handled.
//
// The match comes from bench/watched_match.py, which plays it with the test server's rules;
// TABULON_PYTHON names another interpreter than python3.
#include "BenchFolder.h"
#include "BenchPlayers.h"
#include "app/TFTabulon.h"
#include "protocol/RecordingPorts.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTimer>

#include <malloc.h>

namespace {

QString SourceFolder()
{
    return QFileInfo(QStringLiteral(__FILE__)).absolutePath();
}

// The watcher's lines of the whole match, or an empty array with the reason in error.
QByteArray WatchedMatch(QString* error)
{
    QProcess generator;
    const QString python = qEnvironmentVariable("TABULON_PYTHON", QStringLiteral("python3"));
    generator.start(python, {SourceFolder() + QStringLiteral("/watched_match.py"),
                             QStringLiteral("--min-games"), QStringLiteral("25")});
    if (!generator.waitForFinished(300000) || generator.exitStatus() != QProcess::NormalExit
        || generator.exitCode() != 0) {
        *error = QStringLiteral("the match generator failed: %1 %2")
                     .arg(generator.errorString(),
                          QString::fromLocal8Bit(generator.readAllStandardError()));
        return QByteArray();
    }
    return generator.readAllStandardOutput();
}

QByteArray Login(const std::vector<bench::Player>& players)
{
    return QByteArrayLiteral(
               "1 benchwatcher 1593791615 localhost\r\n"
               "2 benchwatcher 1 1 0 0 0 0 1 1 0 0 1 0 1 1500.00 0 0 0 1 0 UTC\r\n"
               "3\r\n"
               "+------------------------------+\r\n"
               "| Welcome to the bench server. |\r\n"
               "+------------------------------+\r\n"
               "4\r\n")
        + bench::loginListings(players);
}

// VmRSS in megabytes (MiB), 0 where /proc is not there.
double ResidentMegabytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return 0;
}

// Draws every position but lets each checker arrive at once, so the match runs at the speed
// of the program instead of the slides'.
class UnanimatedBoard : public BoardPort {
public:
    void drawPosition(const TPositions& position) override { drawn->drawPosition(position); }
    void animateChecker(const TPositions&, int, int, std::function<void()> done) override
    {
        done();
    }

    BoardPort* drawn = nullptr;
};

// Runs the event loop until the session has handled every line; false after timeoutMs.
bool HandleAll(ClientSession& session, int timeoutMs)
{
    QEventLoop loop;
    QElapsedTimer elapsed;
    elapsed.start();
    bool done = false;
    QTimer probe;
    probe.setInterval(5);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        done = session.MBuffer.count() == 0 && !session.QueueHeld();
        if (done || elapsed.elapsed() > timeoutMs)
            loop.quit();
    });
    probe.start();
    loop.exec();
    return done;
}

void BM_ResidentAfterMatch(benchmark::State& state)
{
    QString error;
    const QByteArray match = WatchedMatch(&error);
    if (match.isEmpty()) {
        state.SkipWithError(qPrintable(error));
        return;
    }
    const qsizetype games = match.count("\r\nStarting a new game with ");
    const QByteArray login = Login(bench::population(1000));

    // What the earlier benchmarks left behind in this process is given back first, so the
    // growth is the window's and the session's own.
    malloc_trim(0);
    const double before = ResidentMegabytes();
    double after = 0;
    qsizetype recorded = 0;
    for (auto _ : state) {
        QTemporaryDir folder;
        if (!bench::makeProgramFolder(folder, &error)) {
            state.SkipWithError(qPrintable(error));
            return;
        }
        // Nothing reaches a real server or waits on a message box; the board still draws.
        // The ports outlive the window, which may still use them while it goes.
        RecordingServerLink link;
        link.connected = true;
        RecordingPrompter prompter;
        UnanimatedBoard board;
        TFTabulon window(folder.path());
        ClientSession& session = window.session();
        board.drawn = session.Ports().board;
        session.Ports().link = &link;
        session.Ports().prompter = &prompter;
        session.Ports().board = &board;
        window.show();
        QCoreApplication::processEvents();

        QElapsedTimer elapsed;
        elapsed.start();
        session.FirstDataSeen = true;
        session.IdTelnetDataAvailable(login);
        const bool loggedIn = HandleAll(session, 60000);
        session.IdTelnetDataAvailable(match);
        const bool followed = loggedIn && HandleAll(session, 600000);
        state.SetIterationTime(double(elapsed.nsecsElapsed()) / 1e9);
        if (!followed) {
            state.SkipWithError("the session did not handle every line in time");
            return;
        }
        if (session.LVTemp.rowCount() < 1000) {
            state.SkipWithError("the players list is incomplete");
            return;
        }
        recorded = session.Games.size();
        after = ResidentMegabytes();
        // Closed as the user closes it: the settings are written and the engine is told to go.
        window.close();
    }
    if (games < 25 || recorded != games) {
        state.SkipWithError(qPrintable(QStringLiteral("the record holds %1 of the %2 games")
                                           .arg(recorded)
                                           .arg(games)));
        return;
    }
    state.counters["resident_mb"] = after;
    state.counters["growth_mb"] = after - before;
    state.counters["games"] = double(recorded);
    state.counters["lines"] = double(login.count("\r\n") + match.count("\r\n"));
}
BENCHMARK(BM_ResidentAfterMatch)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
