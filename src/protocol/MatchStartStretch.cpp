#include "protocol/MatchStartStretch.h"

#include "invite/Invitations.h"
#include "model/Positions.h"
#include "model/Words.h"
#include "protocol/ClientSession.h"
#include "protocol/LineDispatcher.h"
#include "records/MatchRecord.h"

#include <algorithm>

namespace {

QString Word(int n, const QString& line)
{
    return GetWord(n, line, QStringLiteral(" "));
}

QString WithoutLastChar(const QString& text)
{
    return text.left(std::max<qsizetype>(0, text.size() - 1));
}

// A name not known yet occurs nowhere.
bool Has(const QString& line, const QString& part)
{
    return !part.isEmpty() && line.contains(part);
}

// An unlimited match's notice has no number there: the first board line brings the length.
int MatchLengthWord(const QString& word)
{
    bool ok = false;
    const int length = word.toInt(&ok);
    return ok ? length : 0;
}

void ApplyMatchStartDefaults(TPositions& p, int matchLength)
{
    p.Colour = 1;
    p.PlayerMayDouble = true;
    p.OpponentMayDouble = true;
    p.PlayerScore = 0;
    p.OpponentScore = 0;
    p.Cube = 1;
    p.CanMove = 2;
    p.MatchLength = matchLength;
}

void RemoveAutoInvite(ClientSession& s, const QString& name)
{
    const qsizetype i = s.AutoInviteNames.indexOf(name);
    if (i < 0)
        return;
    s.AutoInviteNames.removeAt(i);
    if (i < s.AutoInviteLengths.size())
        s.AutoInviteLengths.removeAt(i);
}

void StartGameList(ClientSession& s, const QString& firstEntry)
{
    s.CBGames.Add(firstEntry);
    s.CBGames.SetItemIndex(0);
}

void NowWatching(ClientSession& s, const QString& line)
{
    ResetMatchRecord(s);
    StartGameList(s, QStringLiteral("Game 1 Start watching"));
    s.WatchedPlayer = WithoutLastChar(Word(3, line));
    const QString selected = SelectedPlayerName(s);
    if (!selected.isEmpty())
        s.SendCommand(QStringLiteral("Look ") + selected);
    s.Watching = true;
}

void MatchWithUserStarts(ClientSession& s, const QString& line)
{
    ResetMatchRecord(s);
    StartGameList(s, QStringLiteral("Game 1 Score 0-0"));
    const bool joinedUs = Word(1, line) != QLatin1String("You");
    // The joiner's notice names the opponent after "with", as its tenth word for a match with
    // a length and its ninth for an unlimited one.
    const qsizetype with = line.indexOf(QLatin1String(" with "));
    const QString opponent = joinedUs ? Word(2, line)
        : with >= 0                  ? Word(0, line.mid(with + 6) + QChar(' '))
                                     : Word(10, line);
    const QString greeting =
        QString(s.Settings.GreetingMessage).replace(QLatin1String("playername"), opponent);
    if (s.IsConnected())
        s.SendCommand(QStringLiteral("tell ") + opponent + QChar(' ') + greeting);
    s.CurrentPosition.Opponent = opponent;
    s.OpponentName = opponent;
    s.ToolButtons.setPressed(QStringLiteral("TBReady"), false);
    s.OwnInfo.Ready = false;
    s.Playing = true;
    s.Watching = false;
    if (s.IsConnected())
        s.SendCommand(QStringLiteral("Board"));
    s.ToolButtons.setPressed(QStringLiteral("TBGreedy"), false);
    s.OwnInfo.Greedy = false;
    s.WatchedPlayer.clear();
    RemoveAutoInvite(s, opponent);
    SetStartingPosition(s.CurrentPosition);
    ApplyMatchStartDefaults(s.CurrentPosition, MatchLengthWord(Word(joinedUs ? 8 : 6, line)));
}

void UserMatchResumes(ClientSession& s, const QString& line)
{
    s.Status.setPanel(QStringLiteral("SBJoueur"), 2, line);
    ResetMatchRecord(s);
    s.Playing = true;
    s.Watching = false;
    StartGameList(s, QStringLiteral("Game %1 Resumed game").arg(s.ShownGame));
    AppendGameRow(s);
    if (s.IsConnected())
        s.SendCommand(QStringLiteral("board"));
    const QString opponent = line.contains(QLatin1String(" has joined you"))
        ? Word(0, line)
        : WithoutLastChar(Word(5, line));
    s.CurrentPosition.Opponent = opponent;
    s.OpponentName = opponent;
    RemoveAutoInvite(s, opponent);
    for (qsizetype i = 0; i < s.SavedGames.size(); ++i) {
        if (s.SavedGames.at(i).opponent == opponent) {
            s.SavedGames.removeAt(i);
            break;
        }
    }
    for (int i = 0; i < s.LVPlayers.Count(); ++i) {
        const TPlayerRow& row = s.LVPlayers.Row(i);
        if (row.Caption == opponent || row.Cell(ColOpponent) == opponent)
            s.LVPlayers.EditRow(i).SetCell(ColSavedGames, QStringLiteral("None"));
    }
}

void WatchedMatchResumes(ClientSession& s, const QString& line)
{
    s.Status.setPanel(QStringLiteral("SBJoueur"), 2, line);
    ResetMatchRecord(s);
    StartGameList(s, QStringLiteral("Game %1 Resumed game").arg(s.ShownGame));
    AppendGameRow(s);
}

void HandleMatchStart(ClientSession& s, QString& line)
{
    if (line.isEmpty())
        return;
    if (line.startsWith(QLatin1String("You're now watching")))
        NowWatching(s, line);

    if (line.contains(QLatin1String("wants to resume"))) {
        ShowJoinWindow(s, line, Word(0, line));
        line.clear();
    } else if (line.contains(QLatin1String("has joined you for a"))
               || line.contains(QLatin1String("** You are now playing a"))) {
        MatchWithUserStarts(s, line);
        line.clear();
    } else if (line.contains(QLatin1String("start"))
               && (line.contains(QLatin1String("point match"))
                   || line.contains(QLatin1String("unlimited match")))) {
        if (Has(line, s.WatchedPlayer)) {
            ResetMatchRecord(s);
            ApplyMatchStartDefaults(s.CurrentPosition, MatchLengthWord(Word(5, line)));
            StartGameList(s, QStringLiteral("Game 1 Score 0-0"));
        }
        line.clear();
    } else if (line.contains(QLatin1String("Your running match was loaded"))) {
        UserMatchResumes(s, line);
        line.clear();
    } else if (line.contains(QLatin1String("are resuming their"))) {
        if (Has(line, s.WatchedPlayer))
            WatchedMatchResumes(s, line);
        line.clear();
    } else if (line.contains(QLatin1String("wants to play"))) {
        ShowJoinWindow(s, line, Word(0, line));
        line.clear();
    }
}

} // namespace

void InstallMatchStartStretch(ClientSession& session)
{
    session.Dispatcher().SetHandler("match-start",
                                    [&session](QString& line) { HandleMatchStart(session, line); });
}

QString SelectedPlayerName(const ClientSession& s)
{
    if (s.LVPlayersSelected == 0)
        return QString();
    for (const TPlayerRow& row : s.LVPlayers.Rows()) {
        if (row.Id == s.LVPlayersSelected)
            return row.Caption;
    }
    return QString();
}

void SelectPlayer(ClientSession& s, const QString& name)
{
    s.LVPlayersSelected = 0;
    for (const TPlayerRow& row : s.LVPlayers.Rows()) {
        if (row.Caption == name) {
            s.LVPlayersSelected = row.Id;
            return;
        }
    }
}

void Watch1Click(ClientSession& s)
{
    const QString name = SelectedPlayerName(s);
    if (!name.isEmpty() && s.IsConnected())
        s.SendCommand(QStringLiteral("Watch ") + name);
}

void Unwatch1Click(ClientSession& s)
{
    if (!s.Watching)
        return;
    s.Watching = false;
    if (s.IsConnected())
        s.SendCommand(QStringLiteral("unwatch"));
}
