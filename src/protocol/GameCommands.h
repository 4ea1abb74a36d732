#pragma once

class ClientSession;
class QString;

// The game commands of the tool bar and the Match menu, and the cube and move actions the
// board's presses share with them.

// Tool bar and Match menu.
void TBRefreshBoardClick(ClientSession& session);
void TBUndoClick(ClientSession& session);
void TBAcceptClick(ClientSession& session);
void TBRejectClick(ClientSession& session);
void Roll1Click(ClientSession& session);
void Double1Click(ClientSession& session);
void Leave1Click(ClientSession& session);
// The resign window's buttons: "normal", "gammon" or "backgammon".
void ResignCommand(ClientSession& session, const QString& level);

// The double request: refused when the cube already wins the match, confirmed when the
// settings ask for it. True when the double was offered.
bool DoubleRequest(ClientSession& session);
// Takes the double offered by the other side (a press on the offered cube).
void AcceptOfferedCube(ClientSession& session);
// Sends the move entered on the board and records it in the moves list.
void SendMove(ClientSession& session);
