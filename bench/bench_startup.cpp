// Start-up: from starting the program until its main window's first frame is painted, on the
// offscreen platform. The program runs from a copy of its folder with the shipped data and a
// settings file without automatic login; the analysis engine it starts is not waited for.
// TABULON_FIRST_PAINT makes the program print the time of its first frame and quit.
#include "BenchFolder.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>

#include <algorithm>
#include <limits>

namespace {

void BM_StartUpToFirstPaint(benchmark::State& state)
{
    const QString program =
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("tabulon"));
    if (!QFileInfo(program).isExecutable()) {
        state.SkipWithError("no tabulon beside the bench: build the tabulon target too");
        return;
    }
    QTemporaryDir folder;
    QString error;
    if (!bench::makeProgramFolder(folder, &error)) {
        state.SkipWithError(qPrintable(error));
        return;
    }
    // A copy, not a link: the program finds its folder from its own resolved path.
    const QString copy = folder.filePath(QStringLiteral("tabulon"));
    if (!QFile::copy(program, copy)) {
        state.SkipWithError("cannot copy tabulon into the temporary program folder");
        return;
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TABULON_FIRST_PAINT"), QStringLiteral("1"));

    double fastest = std::numeric_limits<double>::max();
    for (auto _ : state) {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(folder.path());
        const qint64 started = QDateTime::currentMSecsSinceEpoch();
        process.start(copy, QStringList());
        if (!process.waitForFinished(60000)) {
            process.kill();
            process.waitForFinished();
            state.SkipWithError("tabulon did not paint and quit within a minute");
            return;
        }
        const QByteArray out = process.readAllStandardOutput();
        const qsizetype at = out.indexOf("first paint ");
        bool ok = at >= 0;
        const qint64 painted = ok ? out.mid(at + 12).split('\n').value(0).trimmed().toLongLong(&ok)
                                  : 0;
        if (!ok || process.exitCode() != 0) {
            state.SkipWithError(qPrintable(QStringLiteral("tabulon reported no first paint: %1")
                                               .arg(QString::fromLocal8Bit(
                                                   process.readAllStandardError()))));
            return;
        }
        const double seconds = double(painted - started) / 1000.0;
        fastest = std::min(fastest, seconds);
        state.SetIterationTime(seconds);
    }
    state.counters["fastest_ms"] = fastest * 1000.0;
}
BENCHMARK(BM_StartUpToFirstPaint)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);

} // namespace
