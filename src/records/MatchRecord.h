#pragma once

class ClientSession;
struct TGames;

// The match record (Games) and its two views on the "Game" tab: the moves list SGMovesList
// and the game list CBGames. The live game is always the last element of Games, whatever
// game the list shows.

// Starts an empty record: one game without rows, an empty grid and game list, the browsing
// and Crawford flags cleared, the "Board" tab brought to the front.
void ResetMatchRecord(ClientSession& session);
// Opens the next row of the live game; its first column stores CurrentPosition.
void AppendGameRow(ClientSession& session);
// Fills the grid with game g (1-based) of the record.
void RebuildMovesList(ClientSession& session, int game);
TGames& LiveGame(ClientSession& session);

// The navigation buttons: previous game, previous and next half-move, next game.
void CBClick(ClientSession& session);
void SpeedButton2Click(ClientSession& session);
void SpeedButton3Click(ClientSession& session);
void SpeedButton4Click(ClientSession& session);
// The user chose entry index of the game list.
void CBGamesChange(ClientSession& session, int index);
// What selecting a cell of the grid does: draws the position recorded there.
void SGMovesListSelectCell(ClientSession& session, int col, int row);
// Makes (col, row) the grid's current cell and selects it, as a click on it does.
void SGMovesListClick(ClientSession& session, int col, int row);
