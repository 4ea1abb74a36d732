#include "records/MatchRecord.h"

#include "analysis/GnubgEngine.h"
#include "model/GnubgIds.h"
#include "protocol/ClientSession.h"
#include "protocol/ScorePanel.h"

namespace {

int GameCount(const ClientSession& s)
{
    return int(s.Games.size());
}

// An element that no event ever filled (only its text was written) has no position to show.
bool HoldsPosition(const TPositions& p)
{
    return p.Colour != 0;
}

void ShowInBoth(ClientSession& s, const QString& text)
{
    for (TextLog* box : {&s.MMoves, &s.MCube}) {
        box->clear();
        box->addLine(text);
    }
}

void ShowIds(ClientSession& s, const TPositions& p)
{
    s.EPosId = PositionId(p);
    s.EMatchId = MatchId(p);
    emit s.idsShown();
}

void ShowStoredPosition(ClientSession& s, const TPositions& p)
{
    if (!HoldsPosition(p))
        return;
    s.Board.DrawPosition(p);
    ShowScorePanel(s, p);
}

} // namespace

TGames& LiveGame(ClientSession& s)
{
    if (s.Games.isEmpty())
        s.Games.append(TGames{});
    return s.Games.last();
}

void ResetMatchRecord(ClientSession& s)
{
    s.GameRowCount = 0;
    s.Games.clear();
    s.SGMovesList.ClearRows();
    s.CBGames.Clear();
    s.CrawfordGame = false;
    s.CrawfordDone = false;
    s.OpponentDoubled = false;
    emit s.boardPageWanted();
    s.BrowsingOldGame = false;
    s.ShowingStoredPosition = false;
    s.ShownGame = 1;
    s.Games.append(TGames{});
}

void AppendGameRow(ClientSession& s)
{
    s.GameRowCount += 1;
    if (!s.BrowsingOldGame) {
        MovesListModel& grid = s.SGMovesList;
        grid.SetRowCount(grid.RowCount() + 1);
        grid.SetCell(0, grid.RowCount() - 2, QString::number(s.GameRowCount));
    }
    TGames& game = LiveGame(s);
    game.PlayerPositions.resize(s.GameRowCount);
    game.OpponentPositions.resize(s.GameRowCount);
    game.PlayerPositions[s.GameRowCount - 1] = s.CurrentPosition;
}

void RebuildMovesList(ClientSession& s, int g)
{
    MovesListModel& grid = s.SGMovesList;
    grid.ClearRows();
    if (g < 1 || g > GameCount(s))
        return;
    const TGames& game = s.Games.at(g - 1);
    for (int i = 0; i < game.PlayerPositions.size(); ++i) {
        grid.SetRowCount(grid.RowCount() + 1);
        const int row = grid.RowCount() - 2;
        grid.SetCell(0, row, QString::number(i + 1));
        grid.SetCell(1, row, game.PlayerPositions.at(i).MoveText);
        if (i < game.OpponentPositions.size())
            grid.SetCell(2, row, game.OpponentPositions.at(i).MoveText);
    }
}

void CBClick(ClientSession& s)
{
    if (s.ShownGame <= 1)
        return;
    s.ShownGame -= 1;
    s.CBGames.SetItemIndex(s.ShownGame - 1);
    s.BrowsingOldGame = true;
    s.ShowingStoredPosition = true;
    RebuildMovesList(s, s.ShownGame);
}

void SpeedButton4Click(ClientSession& s)
{
    if (s.ShownGame >= GameCount(s))
        return;
    s.ShownGame += 1;
    s.CBGames.SetItemIndex(s.ShownGame - 1);
    RebuildMovesList(s, s.ShownGame);
    if (s.ShownGame == GameCount(s)) {
        s.BrowsingOldGame = false;
        s.ShowingStoredPosition = false;
        const int last = s.SGMovesList.RowCount() - 2;
        if (last >= 1)
            SGMovesListClick(s, 1, last);
    } else {
        s.BrowsingOldGame = true;
        s.ShowingStoredPosition = true;
    }
}

void SpeedButton2Click(ClientSession& s)
{
    const int col = s.SGMovesList.Col();
    const int row = s.SGMovesList.Row();
    if (col == 2)
        SGMovesListClick(s, 1, row);
    else if (row >= 2)
        SGMovesListClick(s, 2, row - 1);
}

void SpeedButton3Click(ClientSession& s)
{
    const MovesListModel& grid = s.SGMovesList;
    const int col = grid.Col();
    const int row = grid.Row();
    const int last = grid.RowCount() - 2;
    if (row < last) {
        if (col == 1)
            SGMovesListClick(s, 2, row);
        else
            SGMovesListClick(s, 1, row + 1);
    } else if (row == last && col == 1 && !grid.Cell(2, row).isEmpty()) {
        SGMovesListClick(s, 2, row);
    }
}

void CBGamesChange(ClientSession& s, int index)
{
    if (index < 0 || index >= GameCount(s))
        return;
    s.CBGames.SetItemIndex(index);
    s.ShownGame = index + 1;
    const bool old = s.ShownGame != GameCount(s);
    s.BrowsingOldGame = old;
    s.ShowingStoredPosition = old;
    RebuildMovesList(s, s.ShownGame);
    // A game just begun has no position yet: the board stays as it is.
    const TGames& game = s.Games.at(index);
    if (!game.PlayerPositions.isEmpty())
        ShowStoredPosition(s, game.PlayerPositions.first());
}

void SGMovesListSelectCell(ClientSession& s, int col, int row)
{
    const bool liveShown = s.ShownGame == GameCount(s);
    const bool analysisAllowed = !(s.Playing && liveShown);
    const int last = s.SGMovesList.RowCount() - 2;
    s.MMoves.clear();
    s.MCube.clear();
    if (row < 1 || row > last || s.ShownGame < 1 || s.ShownGame > GameCount(s))
        return;
    TGames& game = s.Games[s.ShownGame - 1];
    // Rows shown without a recorded element (the record and the grid disagree) show nothing.
    if (row > game.PlayerPositions.size() || row > game.OpponentPositions.size())
        return;
    if (analysisAllowed)
        ShowInBoth(s, QStringLiteral("Please wait...."));
    const QString cell = s.SGMovesList.Cell(col, row);
    // A double and its answer have only a cube analysis.
    const bool cubeOnly = cell == QLatin1String("Doubles") || cell == QLatin1String("Accepts");
    if (col == 1) {
        TPositions& p = game.PlayerPositions[row - 1];
        ShowStoredPosition(s, p);
        if (analysisAllowed) {
            if (cubeOnly)
                s.MMoves.clear();
            // The side on roll is settled before the IDs are written, so they name it.
            if (!cell.isEmpty() && p.Turn == 0)
                p.Turn = p.Colour;
            ShowIds(s, p);
            if (!cell.isEmpty())
                RequestAnalysis(s, p, false);
            else
                ShowInBoth(s, QStringLiteral("No move selected"));
            s.ShowingStoredPosition = true;
        }
    } else if (col == 2) {
        if (cubeOnly)
            s.MMoves.clear();
        TPositions& p = game.OpponentPositions[row - 1];
        p.Turn = -p.Colour;
        ShowStoredPosition(s, p);
        if (analysisAllowed && !cell.isEmpty()) {
            ShowIds(s, p);
            RequestAnalysis(s, p, true);
        } else if (analysisAllowed) {
            // Nothing will answer: the boxes must not keep waiting.
            ShowInBoth(s, QStringLiteral("No move selected"));
        }
        s.ShowingStoredPosition = true;
    }
    if (row == last && liveShown)
        s.ShowingStoredPosition = false;
}

void SGMovesListClick(ClientSession& s, int col, int row)
{
    s.SGMovesList.SetCurrentCell(col, row);
    SGMovesListSelectCell(s, col, row);
}
