// From an analysis request to both boxes filled, with the real engine at 2 plies.
#include "analysis/GnubgEngine.h"
#include "protocol/TextLog.h"

#include <benchmark/benchmark.h>

#include <QElapsedTimer>
#include <QFile>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>

namespace {

void BM_AnalysisRoundTrip(benchmark::State& state)
{
    if (!QFile::exists(QStringLiteral("/usr/games/gnubg"))) {
        state.SkipWithError("GNU Backgammon is not installed");
        return;
    }
    QTemporaryDir folder;
    TextLog moves;
    TextLog cube;
    GnubgEngine engine(moves, cube);
    if (!engine.StartEngine(folder.path() + u'/')) {
        state.SkipWithError("the engine did not start");
        return;
    }
    bool second = false;
    for (auto _ : state) {
        QEventLoop loop;
        bool answered = false;
        const auto connection = QObject::connect(&engine, &GnubgEngine::analysisReady, &loop,
                                                 [&] {
                                                     answered = true;
                                                     loop.quit();
                                                 });
        QTimer::singleShot(60000, &loop, &QEventLoop::quit);
        QElapsedTimer timer;
        timer.start();
        // 7-point match at 0-0, the opening position, 53 to play; both columns in turn.
        engine.RequestAnalysis(QStringLiteral("4HPwATDgc/ABMA"), QStringLiteral("cInuAAAAAAAE"),
                               second, false);
        if (!answered)
            loop.exec();
        QObject::disconnect(connection);
        if (!answered) {
            state.SkipWithError("no answer from the engine");
            return;
        }
        state.SetIterationTime(double(timer.nsecsElapsed()) / 1e9);
        second = !second;
    }
    state.counters["moves_lines"] = double(moves.lines().size());
}
BENCHMARK(BM_AnalysisRoundTrip)->UseManualTime()->Iterations(6)->Unit(benchmark::kMillisecond);

} // namespace
