#include "protocol/GameEventsStretch.h"

#include "model/Positions.h"
#include "model/Words.h"
#include "protocol/ClientSession.h"
#include "protocol/LineDispatcher.h"
#include "protocol/ScorePanel.h"
#include "records/MatchFile.h"
#include "records/MatchRecord.h"

#include <QPointer>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr int BlockedRollPauseMs = 200;
constexpr int JoinToBoardPauseMs = 250;
const QLatin1String NextGamePrompt(
    "Type 'join' if you want to play the next game, type 'leave' if you don't.");

QString Word(int n, const QString& line)
{
    return GetWord(n, line, QStringLiteral(" "));
}

// A number field of a server line; one that does not convert makes the line malformed.
int StrToInt(const QString& text)
{
    bool ok = false;
    const int n = text.toInt(&ok);
    if (!ok)
        throw std::invalid_argument("\"" + text.toStdString() + "\" is not a number");
    return n;
}

// A name not known yet occurs nowhere.
bool Has(const QString& line, const QString& part)
{
    return !part.isEmpty() && line.contains(part);
}

void PlaySound(ClientSession& s, const char* name)
{
    if (s.Settings.EnableSound && s.Ports().sound)
        s.Ports().sound->play(QStringLiteral("Sounds\\") + QLatin1String(name));
}

const QString Joueur = QStringLiteral("SBJoueur");

void SetStatus(ClientSession& s, const QString& text)
{
    s.Status.setPanel(Joueur, 2, text);
}

void DrawCurrent(ClientSession& s)
{
    s.Board.DrawPosition(s.CurrentPosition);
}

QString DiceText(int first, int second)
{
    return QString::number(first) + QString::number(second);
}

// Cells of the row being filled. While the list shows an earlier game, the live rows go to
// the record only; the grid is rebuilt from it when the user comes back.
void WriteLiveCell(ClientSession& s, int col, const QString& text)
{
    if (!s.BrowsingOldGame)
        s.SGMovesList.SetCell(col, s.GameRowCount, text);
}

// The row being filled. Between a score line and the next game's first line the live game
// has no rows yet: an action reported then has no place and the line is dropped.
TPositions& RowElement(QVector<TPositions>& column, int row)
{
    if (row < 1 || row > column.size())
        throw std::out_of_range("the live game has no row " + std::to_string(row));
    return column[row - 1];
}

TPositions& NearElement(ClientSession& s)
{
    return RowElement(LiveGame(s).PlayerPositions, s.GameRowCount);
}

TPositions& FarElement(ClientSession& s)
{
    return RowElement(LiveGame(s).OpponentPositions, s.GameRowCount);
}

void StoreCurrent(TPositions& element, const ClientSession& s, const QString& moveText)
{
    element = s.CurrentPosition;
    element.MoveText = moveText;
}

// The far side acts first in a game: its row gets a "-" on the near side.
void PlaceholderRow(ClientSession& s)
{
    if (s.GameRowCount != 0)
        return;
    AppendGameRow(s);
    NearElement(s).MoveText = QStringLiteral("-");
    WriteLiveCell(s, 1, QStringLiteral("-"));
}

void ClearDice(TPositions& p, bool near)
{
    (near ? p.PlayerDie1 : p.OpponentDie1) = 0;
    (near ? p.PlayerDie2 : p.OpponentDie2) = 0;
}

// Doubles and takes of either side end alike: the sound, then the board and the panel.
void ShowCubeAction(ClientSession& s, const char* sound, bool draw)
{
    if (s.ShowingStoredPosition)
        return;
    PlaySound(s, sound);
    if (draw)
        DrawCurrent(s);
    ShowScorePanel(s);
}

void NewGame(ClientSession& s)
{
    s.ToolButtons.setPressed(QStringLiteral("TBGreedy"), false);
    s.OwnInfo.Greedy = false;
    s.OpponentDoubled = false;
    s.GameRowCount = 0;
    if (!s.BrowsingOldGame)
        s.SGMovesList.ClearRows();
    // The game that begins is the live one, whatever game the list shows.
    TGames& game = LiveGame(s);
    game.PlayerPositions.clear();
    game.OpponentPositions.clear();
    SetStartingPosition(s.CurrentPosition);
    s.CurrentPosition.Player = s.SGMovesList.Cell(1, 0);
    s.CurrentPosition.Opponent = s.SGMovesList.Cell(2, 0);
}

bool IsNearName(const ClientSession& s, const QString& word)
{
    return word == QLatin1String("You") || (!s.WatchedPlayer.isEmpty() && word == s.WatchedPlayer);
}

void OpeningRoll(ClientSession& s, QString& line)
{
    line += QChar(' ');
    if (line.contains(QLatin1String("You rolled")))
        s.SendCommand(QStringLiteral("Board"));
    PlaySound(s, "roll.wav");
    const int a = StrToInt(Word(2, line).left(1));
    const int b = StrToInt(Word(5, line));
    if (a == b)
        return;
    AppendGameRow(s);
    TPositions& p = s.CurrentPosition;
    p.Crawford = s.CrawfordGame;
    const bool nearFirst = (a > b && IsNearName(s, Word(0, line)))
        || (a < b && IsNearName(s, Word(3, line)));
    const QString cell = QStringLiteral("Dice: %1 %2").arg(b).arg(a);
    if (nearFirst) {
        p.PlayerDie1 = a;
        p.PlayerDie2 = b;
        ClearDice(p, false);
        p.Turn = p.Colour;
        StoreCurrent(NearElement(s), s, cell);
        WriteLiveCell(s, 1, cell);
    } else {
        NearElement(s) = p;
        p.OpponentDie1 = a;
        p.OpponentDie2 = b;
        ClearDice(p, true);
        p.Turn = -p.Colour;
        StoreCurrent(FarElement(s), s, cell);
        WriteLiveCell(s, 2, cell);
    }
    PlaySound(s, "roll.wav");
}

void Roll(ClientSession& s, QString& line)
{
    line += QChar(' ');
    const int a = StrToInt(Word(4, line).left(1));
    const int b = StrToInt(Word(2, line));
    SetStatus(s, line);
    TPositions& p = s.CurrentPosition;
    // The record keeps the cell's text too, so a rebuilt list shows the roll.
    const QString cell = QStringLiteral("Dice: %1 %2").arg(b).arg(a);
    const bool near = Has(line, p.Player);
    if (near) {
        p.PlayerDie1 = a;
        p.PlayerDie2 = b;
        p.Crawford = s.CrawfordGame;
        AppendGameRow(s);
        StoreCurrent(NearElement(s), s, cell);
    } else if (Has(line, p.Opponent)) {
        if (s.GameRowCount == 0)
            AppendGameRow(s);
        TPositions& element = FarElement(s);
        p.OpponentDie1 = a;
        p.OpponentDie2 = b;
        StoreCurrent(element, s, cell);
    } else {
        return;
    }
    if (s.BrowsingOldGame)
        return;
    WriteLiveCell(s, near ? 1 : 2, cell);
    if (!s.ShowingStoredPosition)
        PlaySound(s, "roll.wav");
}

struct CheckerMove {
    QString from; // a point number or "bar"
    QString to;   // a point number or "off"
    int source = 0;
    int destination = 0;
};

// The moves of a move report, in server numbering; near: the move is the near side's.
std::vector<CheckerMove> ReadMoves(const QString& text, int colour, bool near)
{
    const int bar = near == (colour == 1) ? 25 : 0;
    const int off = near == (colour == 1) ? -1 : 26;
    std::vector<CheckerMove> moves;
    const int n = CountChar(text, QChar(' '));
    for (int k = 0; k < n; ++k) {
        const QString word = Word(k, text);
        const qsizetype dash = word.indexOf(QChar('-'));
        if (dash < 0)
            throw std::invalid_argument("\"" + word.toStdString() + "\" is not a move");
        CheckerMove m;
        m.from = word.left(dash);
        m.to = word.mid(dash + 1);
        m.source = m.from == QLatin1String("bar") ? bar : StrToInt(m.from);
        m.destination = m.to == QLatin1String("off") ? off : StrToInt(m.to);
        moves.push_back(m);
    }
    return moves;
}

QString MoveTextOf(const QString& line)
{
    QString text;
    if (const qsizetype at = line.indexOf(QLatin1String("moves ")); at >= 0)
        text = line.mid(at + 6);
    else if (const qsizetype at = line.indexOf(QLatin1String("move is ")); at >= 0)
        text = line.mid(at + 8);
    else if (const qsizetype at = line.indexOf(QLatin1String("Bearing off: ")); at >= 0)
        text = line.mid(at + 13).replace(QLatin1String(" o"), QLatin1String("-off"));
    while (text.endsWith(QChar(' ')))
        text.chop(1);
    if (!text.endsWith(QChar('.')))
        text += QStringLiteral(" .");
    return text;
}

void ReportedMove(ClientSession& s, const QString& line, bool near)
{
    const QString text = MoveTextOf(line);
    TPositions& p = s.CurrentPosition;
    const std::vector<CheckerMove> moves = ReadMoves(text, p.Colour, near);
    if (s.GameRowCount == 0)
        AppendGameRow(s);
    TPositions& element = near ? NearElement(s) : FarElement(s);
    QString notation = near ? DiceText(p.PlayerDie1, p.PlayerDie2)
                            : DiceText(p.OpponentDie1, p.OpponentDie2);
    const QString status = (near ? p.Player : p.Opponent) + QStringLiteral(" moves ") + text;
    const auto point = [&p](const QString& text, int index) {
        return text == QLatin1String("bar") || text == QLatin1String("off")
            ? text
            : QString::number(MirrorIndex(index, p));
    };
    for (const CheckerMove& m : moves) {
        notation += QChar(' ') + point(m.from, m.source) + QChar('/') + point(m.to, m.destination);
        element.MoveText = notation;
        SetStatus(s, status);
        WriteLiveCell(s, near ? 1 : 2, notation);
        if (!s.ShowingStoredPosition) {
            s.Board.MoveChecker(m.source, m.destination);
            s.Board.AfterCheckerMoves([&s] {
                PlaySound(s, "chequer.wav");
                ShowScorePanel(s);
            });
        }
    }
}

void NearDoubles(ClientSession& s, const QString& line)
{
    AppendGameRow(s);
    TPositions& p = s.CurrentPosition;
    ClearDice(p, true);
    p.Turn = p.Colour;
    p.Cube *= -2;
    StoreCurrent(NearElement(s), s, QStringLiteral("Doubles"));
    SetStatus(s, line);
    WriteLiveCell(s, 0, QString::number(s.GameRowCount));
    WriteLiveCell(s, 1, QStringLiteral("Doubles"));
    ShowCubeAction(s, "double.wav", true);
}

void FarDoubles(ClientSession& s, const QString& line)
{
    PlaceholderRow(s);
    TPositions& element = FarElement(s);
    TPositions& p = s.CurrentPosition;
    ClearDice(p, false);
    p.Turn = -p.Colour;
    p.Cube *= -2;
    s.OpponentDoubled = true;
    StoreCurrent(element, s, QStringLiteral("Doubles"));
    SetStatus(s, line);
    WriteLiveCell(s, 2, QStringLiteral("Doubles"));
    ShowCubeAction(s, "double.wav", true);
}

void NearAccepts(ClientSession& s)
{
    s.CurrentPosition.Cube = -s.CurrentPosition.Cube;
    AppendGameRow(s);
    StoreCurrent(NearElement(s), s, QStringLiteral("Accepts"));
    SetStatus(s, s.CurrentPosition.Player + QStringLiteral(" accepts the cube."));
    WriteLiveCell(s, 0, QString::number(s.GameRowCount));
    WriteLiveCell(s, 1, QStringLiteral("Accepts"));
    ShowCubeAction(s, "take.wav", false);
}

void FarAccepts(ClientSession& s)
{
    PlaceholderRow(s);
    TPositions& element = FarElement(s);
    s.CurrentPosition.Cube = -s.CurrentPosition.Cube;
    StoreCurrent(element, s, QStringLiteral("Accepts"));
    SetStatus(s, s.CurrentPosition.Opponent + QStringLiteral(" accepts the cube."));
    WriteLiveCell(s, 2, QStringLiteral("Accepts"));
    ShowCubeAction(s, "take.wav", false);
}

void GivesUp(ClientSession& s, const QString& line, bool near)
{
    TPositions& p = s.CurrentPosition;
    if (near)
        AppendGameRow(s);
    else
        PlaceholderRow(s);
    TPositions& element = near ? NearElement(s) : FarElement(s);
    p.Cube = 1;
    p.Turn = -p.Turn;
    StoreCurrent(element, s, QStringLiteral("Gives up"));
    SetStatus(s, line);
    if (near)
        WriteLiveCell(s, 0, QString::number(s.GameRowCount));
    WriteLiveCell(s, near ? 1 : 2, QStringLiteral("Gives up"));
    if (s.ShowingStoredPosition)
        return;
    ClearDice(p, near);
    DrawCurrent(s);
    PlaySound(s, "drop.wav");
    ShowScorePanel(s);
}

void BlockedRoll(ClientSession& s, const QString& line)
{
    if (s.GameRowCount == 0)
        AppendGameRow(s);
    TPositions& p = s.CurrentPosition;
    const QString w0 = Word(0, line);
    const bool far = w0 != QLatin1String("You") && w0 != p.Player;
    TPositions& element = far ? FarElement(s) : NearElement(s);
    const QString text = (far ? DiceText(p.OpponentDie1, p.OpponentDie2)
                              : DiceText(p.PlayerDie1, p.PlayerDie2))
        + QStringLiteral(" Can't move");
    StoreCurrent(element, s, text);
    if (far)
        p.Turn = p.Colour;
    WriteLiveCell(s, far ? 2 : 1, text);
    SetStatus(s, line);
    ClearDice(p, true);
    ClearDice(p, false);
    // The dice stay on the board a moment before they go.
    s.HoldQueue();
    QPointer<ClientSession> self(&s);
    s.Ports().clock->after(BlockedRollPauseMs, [self] {
        if (!self)
            return;
        if (!self->ShowingStoredPosition) {
            PlaySound(*self, "dance.wav");
            DrawCurrent(*self);
        }
        self->ReleaseQueue();
    });
}

void ResignationOffer(ClientSession& s, const QString& line)
{
    if (s.CurrentPosition.Player != QLatin1String("You") || !s.Ports().prompter)
        return;
    // The server's closing instruction (" Type 'accept' or 'reject'.") is left out.
    const QString text = line.left(std::max<qsizetype>(0, line.size() - 27));
    const bool accept =
        s.Ports().prompter->question(Word(0, line) + QStringLiteral(" wants to resign"), text);
    if (s.IsConnected())
        s.SendCommand(accept ? QStringLiteral("accept") : QStringLiteral("reject"));
}

QString WithPlayerName(const QString& message, const QString& name)
{
    return QString(message).replace(QLatin1String("playername"), name);
}

void SendEndMessage(ClientSession& s)
{
    if (s.Settings.EndMessage.isEmpty())
        return;
    const QString opponent = s.CurrentPosition.Opponent;
    s.SendCommand(QStringLiteral("Tell ") + opponent + QChar(' ')
                  + WithPlayerName(s.Settings.EndMessage, opponent));
}

QString WinsText(const QString& points)
{
    return QStringLiteral("Wins ") + points + QStringLiteral(" points");
}

void UserWinsGame(ClientSession& s, const QString& line)
{
    AppendGameRow(s);
    if (s.Ports().prompter)
        s.Ports().prompter->information(QStringLiteral("You win the game"), line);
    const QString p = line.contains(QLatin1String("get ")) ? Word(6, line)
        : line.contains(QLatin1String("You accept and win")) ? Word(4, line)
                                                              : Word(5, line);
    StoreCurrent(NearElement(s), s, WinsText(p));
    SetStatus(s, QStringLiteral("You win ") + p + QStringLiteral(" points"));
    WriteLiveCell(s, 1, WinsText(p));
    SendEndMessage(s);
}

void GameWon(ClientSession& s, const QString& line)
{
    QString w;
    QString p;
    if (line.contains(QLatin1String("wins the game"))) {
        w = Word(0, line);
        p = Word(6, line);
    } else if (line.contains(QLatin1String("accepts and wins"))) {
        w = Word(0, line);
        p = Word(4, line);
    } else {
        w = Word(3, line);
        p = Word(5, line);
    }
    AppendGameRow(s);
    if (w != s.CurrentPosition.Player) {
        FarElement(s).MoveText = WinsText(p);
        SetStatus(s, w + QStringLiteral(" win ") + p + QStringLiteral(" points"));
        WriteLiveCell(s, 2, WinsText(p));
    } else {
        NearElement(s).MoveText = WinsText(p);
        SetStatus(s, w + QStringLiteral(" wins ") + p + QStringLiteral(" points"));
        WriteLiveCell(s, 1, WinsText(p));
    }
    if (s.Settings.ShowEndGameMessage && s.Ports().prompter)
        s.Ports().prompter->information(w + QStringLiteral(" wins the game"), line);
    if (!s.Watching)
        SendEndMessage(s);
}

void Score(ClientSession& s, QString& line)
{
    line += QChar(' ');
    const QString afterFirst = line.mid(line.indexOf(QChar('-')) + 1);
    const int s1 = StrToInt(Word(0, afterFirst));
    const QString afterSecond = afterFirst.mid(afterFirst.indexOf(QChar('-')) + 1);
    const int s2 = StrToInt(Word(0, afterSecond));
    const int length = s.CurrentPosition.MatchLength;
    if ((s1 == length - 1 || s2 == length - 1) && !s.CrawfordGame && !s.CrawfordDone) {
        s.CrawfordGame = true;
    } else if (s.CrawfordGame) {
        s.CrawfordDone = true;
        s.CrawfordGame = false;
    }
    if (length > 0 && (s1 >= length || s2 >= length))
        return;
    s.CBGames.Add(QStringLiteral("Game %1 Score %2 %3").arg(s.Games.size() + 1).arg(s1).arg(s2));
    const bool followLive = !s.ShowingStoredPosition && !s.BrowsingOldGame;
    s.Games.append(TGames{});
    if (followLive) {
        s.CBGames.SetItemIndex(s.CBGames.rowCount() - 1);
        s.ShownGame = int(s.Games.size());
    } else {
        // The user looks at a stored position: the list stays on its game, now an earlier one.
        s.BrowsingOldGame = true;
    }
}

void MatchWon(ClientSession& s, const QString& line)
{
    const QString w = Word(0, line);
    const QString score = Word(6, line);
    const qsizetype dash = score.indexOf(QChar('-'));
    if (dash < 0)
        throw std::invalid_argument("\"" + score.toStdString() + "\" is not a match score");
    const int a = StrToInt(score.left(dash));
    const int b = StrToInt(score.mid(dash + 1));
    TPositions& p = s.CurrentPosition;
    const bool nearWins = w == p.Player;
    const QString suffix = QStringLiteral(" and the match");
    // The game's result row; a match end reported without one leaves the record as it is.
    TGames& game = LiveGame(s);
    QVector<TPositions>& column = nearWins ? game.PlayerPositions : game.OpponentPositions;
    if (s.GameRowCount > 0 && s.GameRowCount <= column.size()) {
        column[s.GameRowCount - 1].MoveText += suffix;
        const int col = nearWins ? 1 : 2;
        WriteLiveCell(s, col, s.SGMovesList.Cell(col, s.GameRowCount) + suffix);
    }
    SetStatus(s, s.Status.panel(Joueur, 2) + suffix);
    PlaySound(s, nearWins ? "win.wav" : "loose.wav");
    (nearWins ? p.PlayerScore : p.OpponentScore) = a;
    (nearWins ? p.OpponentScore : p.PlayerScore) = b;
    if ((s.Settings.ShowEndGameMessage || s.Playing) && s.Ports().prompter)
        s.Ports().prompter->information(w + QStringLiteral(" win the match"), line);
    if (s.Playing) {
        s.ToolButtons.setPressed(QStringLiteral("TBReady"), true);
        s.OwnInfo.Ready = true;
    }
    WriteMatchFileAtMatchEnd(s);
    s.Playing = false;
    // A watcher goes on watching: the watched player's next match must start a record of its
    // own instead of running on in this one.
    p.Opponent.clear();
}

void HandleGameEvent(ClientSession& s, QString& line)
{
    if (line.isEmpty() || !(s.Playing || s.Watching))
        return;
    const TPositions& p = s.CurrentPosition;
    const QString player = p.Player;
    const QString opponent = p.Opponent;

    if (line.contains(QLatin1String("Starting a new game"))) {
        NewGame(s);
    } else if (line.contains(QLatin1String("It's your turn. Please roll or double"))) {
        SetStatus(s, QStringLiteral("Please roll or double"));
    } else if (line.contains(QLatin1String("You rolled"))
               || (!player.isEmpty() && line.contains(player + QStringLiteral(" rolled")))) {
        OpeningRoll(s, line);
    } else if (!player.isEmpty()
               && (line.contains(player + QStringLiteral(" roll"))
                   || line.contains(opponent + QStringLiteral(" roll")))) {
        Roll(s, line);
    } else if (line.contains(QLatin1String("roll "))
               || line.contains(QLatin1String("makes the first move"))
               || line == QLatin1String("It's your turn to move.")) {
        // Nothing to record.
    } else if ((Has(line, player) && line.contains(QLatin1String("move"))
                && !line.contains(QLatin1String("can't")))
               || (p.Turn * p.Colour > 0 && !s.Watching
                   && (line.contains(QLatin1String("The only possible move is"))
                       || line.contains(QLatin1String("Bearing off"))))) {
        ReportedMove(s, line, true);
    } else if (Has(line, opponent) && line.contains(QLatin1String("move"))
               && !line.contains(QLatin1String("can't"))) {
        ReportedMove(s, line, false);
    } else if (line.startsWith(player + QStringLiteral(" doubles"))) {
        NearDoubles(s, line);
    } else if (line.startsWith(opponent + QStringLiteral(" doubles"))) {
        FarDoubles(s, line);
    } else if (!player.isEmpty() && line.startsWith(player + QStringLiteral(" accept"))
               && !line.contains(QLatin1String("win"))) {
        NearAccepts(s);
    } else if (!opponent.isEmpty() && line.startsWith(opponent + QStringLiteral(" accepts"))
               && !line.contains(QLatin1String("win"))) {
        FarAccepts(s);
    } else {
        // A refused double: the "Gives up" row, then the same line's game result.
        const bool userGivesUp = line.startsWith(QLatin1String("You give up"));
        if (line.startsWith(player + QStringLiteral(" gives up")) || userGivesUp)
            GivesUp(s, line, true);
        else if (line.startsWith(opponent + QStringLiteral(" gives up")))
            GivesUp(s, line, false);

        if (line.contains(QLatin1String("can't move"))) {
            BlockedRoll(s, line);
        } else if (line.contains(QLatin1String("wants to resign"))) {
            ResignationOffer(s, line);
        } else if (line.contains(QLatin1String("You win the game"))
                   || line.contains(QLatin1String("gives up. You win"))
                   || line.contains(QLatin1String("You accept and win"))) {
            UserWinsGame(s, line);
        } else if (line.contains(QLatin1String("wins the game"))
                   || line.contains(QLatin1String("gives up"))
                   || line.contains(QLatin1String("accepts and wins")) || userGivesUp) {
            GameWon(s, line);
        } else if (line.contains(QLatin1String("score in"))) {
            Score(s, line);
        } else if ((line.startsWith(player + QStringLiteral(" win"))
                    || line.startsWith(opponent + QStringLiteral(" win")))
                   && line.contains(QLatin1String("point match"))) {
            MatchWon(s, line);
        } else if (line.contains(NextGamePrompt)) {
            if (s.IsConnected()) {
                s.SendCommand(QStringLiteral("join"));
                s.SendCommand(QStringLiteral("board"), JoinToBoardPauseMs);
            }
        } else {
            return;
        }
    }
    line.clear();
}

} // namespace

void InstallGameEventsStretch(ClientSession& session)
{
    session.Dispatcher().SetHandler("game-events",
                                    [&session](QString& line) { HandleGameEvent(session, line); });
}
