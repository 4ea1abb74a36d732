#pragma once

// A busy server's population and its who listings, for the benchmarks that log in.
#include <QByteArray>
#include <QRandomGenerator>
#include <QString>

#include <algorithm>
#include <vector>

namespace bench {

struct Player {
    QString name, opponent, client;
    double rating;
    int experience;
    bool ready;
};

inline std::vector<Player> population(int count)
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

// order: 0 by name, 1 by rating rising, 2 by rating falling.
inline QByteArray listing(std::vector<Player> players, int order)
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

// The three listings of the players refresh after login, as one burst.
inline QByteArray loginListings(const std::vector<Player>& players)
{
    return listing(players, 0) + listing(players, 1) + listing(players, 2);
}

} // namespace bench
