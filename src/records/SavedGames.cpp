#include "records/SavedGames.h"

#include "model/Words.h"
#include "protocol/ClientSession.h"
#include "protocol/LineDispatcher.h"

#include <algorithm>

namespace {

// A listing row, less its two-character mark: name, the length at 24 and the score at 41.
constexpr int RowLength = 47;
constexpr int LengthAt = 23;
constexpr int ScoreAt = 40;

void MarkSavedGame(PlayersListModel& list, const QString& name, const QString& text)
{
    for (int i = 0; i < list.Count(); ++i) {
        if (list.Row(i).Caption == name)
            list.EditRow(i).SetCell(ColSavedGames, text);
    }
}

} // namespace

void ReadSavedGamesLine(ClientSession& s, const QString& line)
{
    if (s.SavedRowReadEarly) {
        s.SavedRowReadEarly = false;
        return;
    }
    const QString T = line.mid(2);
    const QString W = GetWord(0, T, QStringLiteral(" "));
    const bool header = W == QLatin1String("opponent");
    if (header && !s.SavedListHeaderSeen) {
        s.ReadingSavedList = true;
        s.SavedListHeaderSeen = true;
    }
    if (s.ReadingSavedList && !header && T.size() == RowLength) {
        const TSavedgame game{W, T.mid(LengthAt, 2), T.mid(ScoreAt, 7)};
        s.SavedGames.append(game);
        const QString text =
            QStringLiteral("ML: ") + game.length + QStringLiteral(" Score: ") + game.score;
        MarkSavedGame(s.LVPlayers, W, text);
        MarkSavedGame(s.LVTemp, W, text);
    }
    if (!header && T.size() != RowLength)
        s.ReadingSavedList = false;
}

void ReadMarkedSavedGamesLine(ClientSession& s, const QString& line)
{
    if (!s.ReadingSavedList || !line.startsWith(QLatin1String("**"))
        || line.size() - 2 != RowLength)
        return;
    ReadSavedGamesLine(s, line);
    s.SavedRowReadEarly = true;
}

void InstallSavedGamesStretch(ClientSession& session)
{
    session.Dispatcher().SetHandler("saved-games",
                                    [&session](QString& line) { ReadSavedGamesLine(session, line); });
}

QVector<TSavedgameRow> SavedGamesWindowRows(const ClientSession& s)
{
    QVector<TSavedgameRow> rows;
    for (const TSavedgame& game : s.SavedGames) {
        const int shown = s.LVPlayers.Find(game.opponent);
        rows.append({game.opponent, game.length, game.score,
                     shown < 0 ? QStringLiteral("Offline") : s.LVPlayers.Row(shown).Cell(ColStatus)});
    }
    std::stable_sort(rows.begin(), rows.end(), [](const TSavedgameRow& a, const TSavedgameRow& b) {
        return QString::localeAwareCompare(a.Opponent, b.Opponent) < 0;
    });
    return rows;
}

bool SavedGameInvitable(const QString& status)
{
    return status == QLatin1String("Ready");
}

bool BShowPositionClick(ClientSession& s, const QString& opponent)
{
    if (!s.IsConnected())
        return false;
    s.SendStr(QStringLiteral("oldboard ") + opponent + QStringLiteral("\n\n"));
    return true;
}

bool BInviteClick(ClientSession& s, const QString& opponent)
{
    if (!s.IsConnected())
        return false;
    s.SendCommand(QStringLiteral("Invite ") + opponent);
    return true;
}
