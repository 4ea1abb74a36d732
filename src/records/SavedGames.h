#pragma once

#include <QString>
#include <QVector>

class ClientSession;

// One saved match the server keeps for the user.
struct TSavedgame {
    QString opponent;
    QString length; // match length as text
    QString score;  // the user's score first
};

// One row of the saved-games window.
struct TSavedgameRow {
    QString Opponent;
    QString Length;
    QString Score;
    QString Status; // the player's status in the players list, or "Offline"
};

// The dispatcher row that reads the reply to "show saved".
void InstallSavedGamesStretch(ClientSession& session);
void ReadSavedGamesLine(ClientSession& session, const QString& line);
// A listing row marked "**" is taken for a server notice further down the chain, which
// empties it: it is read before that, and the later pass leaves the emptied line alone.
void ReadMarkedSavedGamesLine(ClientSession& session, const QString& line);

// The window's rows: one per saved match, in the list's order by opponent.
QVector<TSavedgameRow> SavedGamesWindowRows(const ClientSession& session);
// Whether "Invite" is offered for a row with this status.
bool SavedGameInvitable(const QString& status);
// "Show position" and "Invite" of the window; false when nothing was sent (not connected).
bool BShowPositionClick(ClientSession& session, const QString& opponent);
bool BInviteClick(ClientSession& session, const QString& opponent);
