// Logging in to a busy server: the three who listings of the players refresh (3,000 who-info
// lines for 1,000 players) reach the session at once, the players list sorted by rating, shown
// in a real list view on the offscreen platform. Measures the time from the last byte until
// the list is final and the longest time the event loop was kept busy in one go.
#include "BenchPlayers.h"
#include "app/RatingImages.h"
#include "protocol/ClientSession.h"
#include "protocol/QtClock.h"
#include "protocol/RecordingPorts.h"
#include "protocol/WhoInfoStretch.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QHeaderView>
#include <QPixmap>
#include <QTimer>
#include <QTreeView>

#include <algorithm>

namespace {

void BM_PlayersLogin(benchmark::State& state)
{
    const std::vector<bench::Player> players = bench::population(int(state.range(0)));
    const QByteArray burst = bench::loginListings(players);
    QVector<QIcon> icons;
    for (const QImage& image : DrawRatingImages(16))
        icons.append(QIcon(QPixmap::fromImage(image)));

    double longestStallMs = 0;
    for (auto _ : state) {
        RecordingPorts rec;
        QtClock clock;
        SessionPorts ports = rec.ports();
        ports.clock = &clock;
        rec.link.connected = true;
        ClientSession session(QStringLiteral("/nonexistent"), ports);
        session.FirstDataSeen = true;
        session.WindowSettings.ColumnSort = ColRating;
        session.WindowSettings.Descending = true;
        session.LVPlayers.SetImageList(icons);

        QTreeView view;
        view.setRootIsDecorated(false);
        view.setUniformRowHeights(true);
        view.setSelectionBehavior(QAbstractItemView::SelectRows);
        view.setModel(&session.LVPlayers);
        for (int c = 0; c < PlayerColumnCount; ++c)
            view.header()->resizeSection(c, PlayersListModel::ColumnWidths[c]);
        view.resize(660, 560);
        view.show();
        QCoreApplication::processEvents();

        // A zero timer runs whenever the loop is free: the gaps between its runs are stalls.
        QEventLoop loop;
        QElapsedTimer elapsed;
        qint64 last = 0;
        qint64 longest = 0;
        qint64 finalAt = 0;
        QTimer probe;
        probe.setInterval(0);
        QObject::connect(&probe, &QTimer::timeout, [&] {
            const qint64 now = elapsed.nsecsElapsed();
            longest = std::max(longest, now - last);
            last = now;
            const bool settled = session.MBuffer.count() == 0 && !session.LVPlayers.HasPendingChanges()
                && !session.LVTemp.HasPendingChanges();
            if (settled && finalAt == 0) {
                finalAt = now;
                // One more turn of the loop paints the final list.
                view.viewport()->update();
            } else if (finalAt != 0) {
                loop.quit();
            }
        });

        elapsed.start();
        session.IdTelnetDataAvailable(burst);
        probe.start();
        loop.exec();
        probe.stop();

        state.SetIterationTime(double(finalAt) / 1e9);
        longestStallMs = std::max(longestStallMs, double(longest) / 1e6);
        if (session.LVPlayers.rowCount() != int(players.size()))
            state.SkipWithError("the players list is incomplete");
    }
    state.counters["longest_stall_ms"] = longestStallMs;
    state.counters["lines"] = double(3 * (players.size() + 1));
}
BENCHMARK(BM_PlayersLogin)->Arg(1000)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

} // namespace
