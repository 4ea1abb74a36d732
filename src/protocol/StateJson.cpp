#include "protocol/StateJson.h"

#include "chat/ChatState.h"
#include "invite/Invitations.h"
#include "model/PipCount.h"
#include "protocol/ClientSession.h"
#include "records/SavedGames.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QSaveFile>

namespace {

QJsonArray strings(const auto& list)
{
    QJsonArray out;
    for (const QString& s : list)
        out.append(s);
    return out;
}

QJsonObject ownInfoJson(const TOwnInfo& o)
{
    return {
        {"Name", o.Name},           {"AllowPip", o.AllowPip},     {"AutoBoard", o.AutoBoard},
        {"AutoDouble", o.AutoDouble}, {"AutoMove", o.AutoMove},   {"Away", o.Away},
        {"Bell", o.Bell},           {"Crawford", o.Crawford},     {"Double", o.Double},
        {"Experience", o.Experience}, {"Greedy", o.Greedy},       {"MoreBoards", o.MoreBoards},
        {"Moves", o.Moves},         {"Notify", o.Notify},         {"Rating", o.Rating},
        {"Ratings", o.Ratings},     {"Ready", o.Ready},           {"Redoubles", o.Redoubles},
        {"Report", o.Report},       {"Silent", o.Silent},         {"Timezone", o.Timezone},
    };
}

QJsonObject settingsJson(const TSettings& s)
{
    QJsonArray glyphs;
    for (int g : s.ButtonGlyph)
        glyphs.append(g);
    return {
        {"EnableSound", s.EnableSound},
        {"SaveWatchedMatches", s.SaveWatchedMatches},
        {"SavePlayedMatches", s.SavePlayedMatches},
        {"ShowEndGameMessage", s.ShowEndGameMessage},
        {"DeclineMessage", s.DeclineMessage},
        {"GreetingMessage", s.GreetingMessage},
        {"EndMessage", s.EndMessage},
        {"Autologin", s.Autologin},
        {"Server", s.Server},
        {"Port", s.Port},
        {"Username", s.Username},
        {"Password", s.Password},
        {"StorePassword", s.StorePassword},
        {"DefaultBoard", s.DefaultBoard},
        {"PlayWithBlueChecker", s.PlayWithBlueChecker},
        {"Gender", s.Gender},
        {"FirstName", s.FirstName},
        {"LastName", s.LastName},
        {"Country", s.Country},
        {"NumberOfButtons", s.NumberOfButtons},
        {"ButtonGlyph", glyphs},
        {"ButtonHint", strings(s.ButtonHint)},
        {"ButtonAction", strings(s.ButtonAction)},
        {"AnimationSpeed", s.AnimationSpeed},
        {"HideShouts", s.HideShouts},
        {"Debug", s.Debug},
        {"ShowChatTab", s.ShowChatTab},
        {"EMail", s.EMail},
        {"FontSize", s.FontSize},
        {"ConfirmDoubles", s.ConfirmDoubles},
    };
}

QJsonObject positionJson(const TPositions& p)
{
    QJsonArray board;
    for (int i = -1; i <= 26; ++i)
        board.append(p.Board(i));
    return {
        {"Player", p.Player},
        {"Opponent", p.Opponent},
        {"MatchLength", p.MatchLength},
        {"PlayerScore", p.PlayerScore},
        {"OpponentScore", p.OpponentScore},
        {"Board", board},
        {"Turn", p.Turn},
        {"PlayerDie1", p.PlayerDie1},
        {"PlayerDie2", p.PlayerDie2},
        {"OpponentDie1", p.OpponentDie1},
        {"OpponentDie2", p.OpponentDie2},
        {"Cube", p.Cube},
        {"PlayerMayDouble", p.PlayerMayDouble},
        {"OpponentMayDouble", p.OpponentMayDouble},
        {"Colour", p.Colour},
        {"Direction", p.Direction},
        {"CanMove", p.CanMove},
        {"MoveText", p.MoveText},
        {"Crawford", p.Crawford},
    };
}

QJsonArray gamesJson(const QVector<TGames>& games)
{
    QJsonArray out;
    for (const TGames& game : games) {
        QJsonArray player;
        for (const TPositions& p : game.PlayerPositions)
            player.append(positionJson(p));
        QJsonArray opponent;
        for (const TPositions& p : game.OpponentPositions)
            opponent.append(positionJson(p));
        out.append(QJsonObject{{"PlayerPositions", player}, {"OpponentPositions", opponent}});
    }
    return out;
}

QJsonArray movesListJson(const MovesListModel& grid)
{
    QJsonArray rows;
    for (int r = 0; r < grid.RowCount(); ++r) {
        QJsonArray cells;
        for (int c = 0; c < MovesListModel::ColCount; ++c)
            cells.append(grid.Cell(c, r));
        rows.append(cells);
    }
    return rows;
}

QJsonArray playerRowsJson(const PlayersListModel& list)
{
    QJsonArray rows;
    for (const TPlayerRow& row : list.Rows()) {
        QJsonArray cells;
        for (int c = 0; c < PlayerColumnCount; ++c)
            cells.append(row.Cell(c));
        rows.append(cells);
    }
    return rows;
}

QJsonArray friendRowsJson(const FriendsListModel& list)
{
    QJsonArray rows;
    for (const TFriendRow& row : list.Rows())
        rows.append(QJsonArray{row.Name, row.Rating, row.RatingChange, row.Status});
    return rows;
}

QJsonArray savedGamesJson(const ClientSession& s)
{
    QJsonArray rows;
    for (const TSavedgame& game : s.SavedGames)
        rows.append(QJsonArray{game.opponent, game.length, game.score});
    return rows;
}

QJsonArray savedGamesWindowJson(const ClientSession& s)
{
    QJsonArray rows;
    for (const TSavedgameRow& row : SavedGamesWindowRows(s))
        rows.append(QJsonArray{row.Opponent, row.Length, row.Score, row.Status});
    return rows;
}

} // namespace

QJsonObject SessionStateJson(const ClientSession& s)
{
    return {
        {"OwnInfo", ownInfoJson(s.OwnInfo)},
        {"ToolButtons", QJsonObject{{"TBReady", s.ToolButtons.TBReady},
                                    {"TBAutomove", s.ToolButtons.TBAutomove},
                                    {"TBGreedy", s.ToolButtons.TBGreedy},
                                    {"TBDouble", s.ToolButtons.TBDouble}}},
        {"Settings", settingsJson(s.Settings)},
        {"Playing", s.Playing},
        {"Watching", s.Watching},
        {"WatchedPlayer", s.WatchedPlayer},
        {"OpponentName", s.OpponentName},
        {"Theme", s.BoardDescription.BoardName},
        {"CurrentPosition", positionJson(s.CurrentPosition)},
        {"PipCount", QJsonObject{{"Player", PipCount(s.CurrentPosition, 1)},
                                 {"Opponent", PipCount(s.CurrentPosition, 2)}}},
        {"ThorpCount", QJsonObject{{"Player", ThorpCounts(s.CurrentPosition).Player},
                                   {"Opponent", ThorpCounts(s.CurrentPosition).Opponent}}},
        {"GameRowCount", s.GameRowCount},
        {"ShownGame", s.ShownGame},
        {"LastMatchFile", s.LastMatchFile},
        {"Games", gamesJson(s.Games)},
        {"CrawfordGame", s.CrawfordGame},
        {"CrawfordDone", s.CrawfordDone},
        {"OpponentDoubled", s.OpponentDoubled},
        {"MoveCommand", s.Mouse.MoveCommand},
        {"MoveNotation", s.MoveNotation},
        {"MovedCount", s.Mouse.MovedCount},
        {"Die1Used", s.Mouse.Die1Used},
        {"Die2Used", s.Mouse.Die2Used},
        {"Ghosts", QJsonArray{s.Mouse.Ghosts.Ghosts[0], s.Mouse.Ghosts.Ghosts[1],
                              s.Mouse.Ghosts.Ghosts[2], s.Mouse.Ghosts.Ghosts[3]}},
        {"ShowingStoredPosition", s.ShowingStoredPosition},
        {"BrowsingOldGame", s.BrowsingOldGame},
        {"SGMovesList", movesListJson(s.SGMovesList)},
        {"SGMovesListCell", QJsonObject{{"Col", s.SGMovesList.Col()}, {"Row", s.SGMovesList.Row()}}},
        {"CBGames", QJsonObject{{"items", strings(s.CBGames.Items())},
                                {"selected", s.CBGames.ItemIndex()}}},
        {"LVPlayers", playerRowsJson(s.LVPlayers)},
        {"LVTemp", playerRowsJson(s.LVTemp)},
        {"LNbPlayers", s.LNbPlayers.text()},
        {"EPosId", s.EPosId},
        {"EMatchId", s.EMatchId},
        {"LVFriends", friendRowsJson(s.LVFriends)},
        {"LVVilains", friendRowsJson(s.LVVilains)},
        {"SavedGames", savedGamesJson(s)},
        {"LVSavedGames", savedGamesWindowJson(s)},
        {"SBAdversaire", strings(s.Status.SBAdversaire)},
        {"SBJoueur", strings(s.Status.SBJoueur)},
        {"MMoves", strings(s.MMoves.texts())},
        {"MCube", strings(s.MCube.texts())},
        {"MPublicMessages", TextLogJson(s.MPublicMessages)},
        {"MPrivateMessages", TextLogJson(s.MPrivateMessages)},
        {"CBPrivate", ChoiceListJson(s.CBPrivate)},
        {"FFibsMessage", MessagesBoxJson(s.FFibsMessage)},
        {"AutoInviteNames", strings(s.AutoInviteNames)},
        {"AutoInviteLengths", strings(s.AutoInviteLengths)},
        {"InviteAwaitsRepBot", s.InviteAwaitsRepBot},
        {"JoinAwaitsRepBot", s.JoinAwaitsRepBot},
        {"JoinOpponent", s.JoinOpponent},
        {"JoinOpponentRating", s.JoinOpponentRating},
        {"FJoin", JoinWindowJson(s)},
    };
}

bool WriteStateFile(const ClientSession& session, const QString& path)
{
    QJsonObject state = SessionStateJson(session);
    state.insert(QStringLiteral("DisplayMemo"), strings(session.DisplayMemo.texts()));
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly)
        && file.write(QJsonDocument(state).toJson()) >= 0 && file.commit();
}
