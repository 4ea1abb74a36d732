#include "protocol/StateJson.h"

#include "protocol/ClientSession.h"

#include <QJsonArray>

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

} // namespace

QJsonObject SessionStateJson(const ClientSession& s)
{
    const QJsonArray movesList{QJsonArray{"Nb", "Player1", "Player2"}, QJsonArray{"", "", ""}};
    return {
        {"OwnInfo", ownInfoJson(s.OwnInfo)},
        {"Settings", settingsJson(s.Settings)},
        {"Playing", s.Playing},
        {"Watching", s.Watching},
        {"WatchedPlayer", s.WatchedPlayer},
        {"OpponentName", s.OpponentName},
        {"CurrentPosition", positionJson(s.CurrentPosition)},
        {"GameRowCount", s.GameRowCount},
        {"ShownGame", s.ShownGame},
        {"SGMovesList", movesList},
        {"CBGames", QJsonObject{{"items", QJsonArray()}, {"selected", -1}}},
        {"LVPlayers", QJsonArray()},
        {"LVTemp", QJsonArray()},
        {"SavedGames", QJsonArray()},
        {"SBAdversaire", strings(s.Status.SBAdversaire)},
        {"SBJoueur", strings(s.Status.SBJoueur)},
    };
}
