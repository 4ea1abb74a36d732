// A who-info burst, as after login on a busy server, through the headless session.
#include "BenchSession.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>

#include <cstdio>

namespace {

QByteArray whoBurst(int players)
{
    QByteArray data;
    for (int i = 0; i < players; ++i)
        data += QStringLiteral("5 player%1 - - 1 0 %2 %3 12 1593778125 host%1.example.net - -\r\n")
                    .arg(i)
                    .arg(1500.0 + (i % 400), 0, 'f', 2)
                    .arg(100 + i)
                    .toLatin1();
    data += "6\r\n";
    return data;
}

void BM_WhoInfoBurst(benchmark::State& state)
{
    const QByteArray burst = whoBurst(int(state.range(0)));
    qint64 longestTickNs = 0;
    for (auto _ : state) {
        BenchSession bench;
        bench.session.IdTelnetDataAvailable(burst);
        longestTickNs = std::max(longestTickNs, bench.clock.drain());
        benchmark::DoNotOptimize(bench.session.DisplayMemo.lines().size());
    }
    state.counters["longest_tick_ms"] = double(longestTickNs) / 1e6;
    state.counters["lines"] = double(state.range(0) + 1);
}
BENCHMARK(BM_WhoInfoBurst)->Arg(3000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    // Some benchmarks measure widgets: off the screen unless told otherwise.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
