// Logging in to a busy server: the three who listings of the players refresh (3,000 who-info
// lines for 1,000 players) reach the session at once, the players list sorted by rating, shown
// in a real list view on the offscreen platform. Measures the time from the last byte until
// the list is final and the longest time the event loop was kept busy in one go.
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
#include <QRandomGenerator>
#include <QTimer>
#include <QTreeView>

#include <algorithm>
#include <vector>

namespace {

struct Player {
    QString name, opponent, client;
    double rating;
    int experience;
    bool ready;
};

std::vector<Player> population(int count)
{
    static const char* const heads[] = {"sun", "river", "lucky", "dice", "night", "stone",
                                        "blue", "red", "cube", "pip", "fox", "owl", "wolf",
                                        "tiger", "jazz", "maple", "coral", "iron", "silver",
                                        "quiet", "happy", "wild", "north", "storm", "frost"};
    static const char* const tails[] = {"ray", "walker", "man", "girl", "king", "dog", "cat",
                                        "rider", "smith", "hawk", "berry", "fan", "master",
                                        "runner", "queen", "bear", "player", "monk", "duke"};
    QRandomGenerator rng(42);
    std::vector<Player> players;
    for (int i = 0; i < count; ++i) {
        Player p;
        p.name = QStringLiteral("%1%2%3")
                     .arg(QLatin1String(heads[i % 25]), QLatin1String(tails[(i / 25) % 19]),
                          i >= 475 ? QString(QChar('a' + i / 475)) : QString());
        p.opponent = QStringLiteral("-");
        p.rating = 900.0 + rng.bounded(1200.0);
        p.experience = int(rng.bounded(20000));
        p.ready = rng.bounded(10) < 6;
        const int kind = int(rng.bounded(10));
        p.client = kind < 4   ? QStringLiteral("?NTJohn_Smith______T")
                   : kind < 5 ? QStringLiteral("-")
                              : QStringLiteral("3DFiBs4.0.79");
        players.push_back(p);
    }
    for (int i = 0; i + 1 < count; i += 5) {
        players[std::size_t(i)].opponent = players[std::size_t(i + 1)].name;
        players[std::size_t(i + 1)].opponent = players[std::size_t(i)].name;
    }
    return players;
}

QByteArray listing(std::vector<Player> players, int order)
{
    std::stable_sort(players.begin(), players.end(), [order](const Player& a, const Player& b) {
        return order == 0 ? a.name.toLower() < b.name.toLower()
               : order == 1 ? a.rating < b.rating
                            : a.rating > b.rating;
    });
    QByteArray data;
    for (const Player& p : players)
        data += QStringLiteral("5 %1 %2 - %3 0 %4 %5 12 1593778125 host.example.net %6 -\r\n")
                    .arg(p.name, p.opponent)
                    .arg(int(p.ready))
                    .arg(p.rating, 0, 'f', 2)
                    .arg(p.experience)
                    .arg(p.client)
                    .toLatin1();
    return data + "6\r\n";
}

void BM_PlayersLogin(benchmark::State& state)
{
    const std::vector<Player> players = population(int(state.range(0)));
    const QByteArray burst = listing(players, 0) + listing(players, 1) + listing(players, 2);
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
