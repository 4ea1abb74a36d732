#include "protocol/GameCommands.h"

#include "protocol/ClientSession.h"
#include "protocol/ScorePanel.h"
#include "records/MatchRecord.h"

#include <cstdlib>

namespace {

const QString Joueur = QStringLiteral("SBJoueur");

void SetStatus(ClientSession& s, const QString& text)
{
    s.Status.setPanel(Joueur, 2, text);
}

void PlaySound(ClientSession& s, const char* name)
{
    if (s.Settings.EnableSound && s.Ports().sound)
        s.Ports().sound->play(QStringLiteral("Sounds\\") + QLatin1String(name));
}

bool Confirmed(ClientSession& s, const QString& question)
{
    if (!s.Settings.ConfirmDoubles)
        return true;
    return s.Ports().prompter && s.Ports().prompter->question(QStringLiteral("Confirm"), question);
}

void SendIfConnected(ClientSession& s, const QString& command)
{
    if (s.IsConnected())
        s.SendCommand(command);
}

// What both ways of taking a double share.
void TakeDouble(ClientSession& s)
{
    s.OpponentDoubled = false;
    s.SendCommand(QStringLiteral("accept"));
    SetStatus(s, QStringLiteral("Accept"));
}

void TakenCube(ClientSession& s)
{
    TPositions& p = s.CurrentPosition;
    p.Cube = std::abs(p.Cube);
    p.PlayerMayDouble = true;
    p.OpponentMayDouble = false;
}

} // namespace

void TBRefreshBoardClick(ClientSession& s)
{
    SendIfConnected(s, QStringLiteral("Board"));
    s.MoveNotation.clear();
    s.Mouse.ResetTurnEntry();
}

void TBUndoClick(ClientSession& s)
{
    s.CurrentPosition = s.BoardLinePosition;
    ShowScorePanel(s);
    s.Board.DrawPosition(s.CurrentPosition);
    s.MoveNotation.clear();
    s.Mouse.Dragging = false;
    s.Mouse.ResetTurnEntry();
}

void TBAcceptClick(ClientSession& s)
{
    if (!s.OpponentDoubled
        || !Confirmed(s, QStringLiteral("Do you really want to accept the double?")))
        return;
    TakeDouble(s);
    TakenCube(s);
    s.CurrentPosition.Turn = -s.CurrentPosition.Colour;
    s.Mouse.ResetTurnEntry();
}

void AcceptOfferedCube(ClientSession& s)
{
    if (!Confirmed(s, QStringLiteral("Do you really want to accept the double?")))
        return;
    TakeDouble(s);
    PlaySound(s, "take.wav");
    TakenCube(s);
    s.Board.DrawPosition(s.CurrentPosition);
    s.CurrentPosition.Turn = -s.CurrentPosition.Colour;
    s.Mouse.ResetTurnEntry();
}

void TBRejectClick(ClientSession& s)
{
    if (!s.IsConnected())
        return;
    s.SendCommand(QStringLiteral("reject"));
    PlaySound(s, "drop.wav");
    s.CurrentPosition.Turn = -s.CurrentPosition.Colour;
    s.OpponentDoubled = false;
}

void Roll1Click(ClientSession& s)
{
    if (s.IsConnected())
        s.SendStr(QStringLiteral("Roll \r\n"));
}

void Double1Click(ClientSession& s)
{
    DoubleRequest(s);
}

void Leave1Click(ClientSession& s)
{
    SendIfConnected(s, QStringLiteral("leave"));
    s.Playing = false;
    s.CurrentPosition.Player.clear();
    s.CurrentPosition.Opponent.clear();
    SetStatus(s, QStringLiteral("You have left the match"));
}

void ResignCommand(ClientSession& s, const QString& level)
{
    SendIfConnected(s, QStringLiteral("resign ") + level);
}

bool DoubleRequest(ClientSession& s)
{
    TPositions& p = s.CurrentPosition;
    if (p.PlayerScore + p.Cube >= p.MatchLength) {
        if (s.Ports().prompter)
            s.Ports().prompter->information(
                QStringLiteral("Double"),
                QStringLiteral("Don't double, the cube is high enough to win the match"));
        return false;
    }
    if (!Confirmed(s, QStringLiteral("Do you really want to double?")))
        return false;
    SetStatus(s, QStringLiteral("You double"));
    PlaySound(s, "double.wav");
    // The row is opened by hand: its position is the one after the cube was turned.
    s.GameRowCount += 1;
    p.Turn = p.Colour;
    if (!s.BrowsingOldGame) {
        MovesListModel& grid = s.SGMovesList;
        grid.SetRowCount(grid.RowCount() + 1);
        grid.SetCell(0, grid.RowCount() - 2, QString::number(s.GameRowCount));
        grid.SetCell(1, grid.RowCount() - 2, QStringLiteral("Doubles"));
    }
    TGames& game = LiveGame(s);
    game.PlayerPositions.resize(s.GameRowCount);
    game.OpponentPositions.resize(s.GameRowCount);
    p.Cube *= -2;
    // The match file knows a double by this text.
    game.PlayerPositions[s.GameRowCount - 1] = p;
    game.PlayerPositions[s.GameRowCount - 1].MoveText = QStringLiteral("Doubles");
    SendIfConnected(s, QStringLiteral("Double"));
    p.OpponentDie1 = p.OpponentDie2 = 0;
    s.Board.DrawPosition(p);
    p.Turn = -p.Colour;
    return true;
}

void SendMove(ClientSession& s)
{
    MousePlay& mouse = s.Mouse;
    TPositions& p = s.CurrentPosition;
    SetStatus(s, QStringLiteral("You ") + mouse.MoveCommand);
    SendIfConnected(s, mouse.MoveCommand);
    const QString text =
        QString::number(p.PlayerDie1) + QString::number(p.PlayerDie2) + QChar(' ') + s.MoveNotation;
    TGames& game = LiveGame(s);
    if (s.GameRowCount >= 1 && s.GameRowCount <= game.PlayerPositions.size())
        game.PlayerPositions[s.GameRowCount - 1].MoveText = text;
    if (!s.BrowsingOldGame)
        s.SGMovesList.SetCell(1, s.SGMovesList.RowCount() - 2, text);
    s.MoveNotation.clear();
    p.PlayerDie1 = p.PlayerDie2 = 0;
    s.Board.DrawPosition(p);
    mouse.ResetTurnEntry();
}
