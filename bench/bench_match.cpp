// A whole watched match, as the server sent it, through the headless session.
#include "BenchSession.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

namespace {

// The recorded session: login, who list, then a 5-point match watched from its first roll to
// its end. TABULON_FIXTURES_DIR names another folder of recordings.
QByteArray RecordedMatch()
{
    QString folder = qEnvironmentVariable("TABULON_FIXTURES_DIR");
    if (folder.isEmpty())
        folder = QFileInfo(QStringLiteral(__FILE__)).dir().filePath(
            QStringLiteral("../../shared/fixtures/fibs-sessions"));
    QFile file(QDir(folder).filePath(QStringLiteral("fibs-2020-07-03-watching.txt")));
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll().replace("\n", "\r\n");
}

void BM_WatchedMatchReplay(benchmark::State& state)
{
    const QByteArray recording = RecordedMatch();
    if (recording.isEmpty()) {
        state.SkipWithError("the recorded session fibs-2020-07-03-watching.txt was not found");
        return;
    }
    const qint64 lines = recording.count("\r\n");
    for (auto _ : state) {
        BenchSession bench;
        ClientSession& session = bench.session;
        session.Settings.EnableSound = true;
        session.Settings.SaveWatchedMatches = false;
        session.IdTelnetDataAvailable(recording);
        bench.clock.drain();
        if (session.Games.size() != 2)
            state.SkipWithError("the match was not followed to its end");
        benchmark::DoNotOptimize(session.SGMovesList.RowCount());
    }
    state.counters["lines"] = double(lines);
    state.counters["lines_per_second"] =
        benchmark::Counter(double(lines) * double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_WatchedMatchReplay)->Unit(benchmark::kMillisecond);

} // namespace
