#pragma once

#include <QColor>
#include <QString>
#include <QStringList>

class ClientSession;
struct TPlayerRow;

// The client identification of a who-info line, decoded.
struct TClientIdInfo {
    bool Decoded = false; // the word is a 20-character identification
    int GenderImage = -1;
    QString Country;      // country name, "Unknowed", or "-" when not decoded
    QString Client;       // "Tabulon", "JavaFibs", or the word as sent
    QString FirstName;
    QString LastName;
};
TClientIdInfo DecodeClientId(const QString& word, const QStringList& countryCodes,
                             const QStringList& countryNames);

// The dispatcher rows for who-info lines, the end of a who batch and logouts.
void InstallWhoInfoStretch(ClientSession& session);

// Empties both players lists and asks the server for its list three times, sorted three
// ways; only while connected. Also run by "Refresh board" and after logging in.
void PlayersRefresh(ClientSession& session);

// The filter buttons: each toggles its own state and rebuilds the visible list.
void SBReadyClick(ClientSession& session);
void SBPlayingClick(ClientSession& session);
void SBOnLineClick(ClientSession& session);
void ApplyPlayerFilters(ClientSession& session);

// A click on the header of column c of LVPlayers.
void LVPlayersColumnClick(ClientSession& session, int column);

// The Profile box for a row of LVPlayers (nothing for none).
void Profile1Click(ClientSession& session, const TPlayerRow* row);

// Background of an LVPlayers row (invalid: the list's own).
QColor PlayerRowColour(const ClientSession& session, const TPlayerRow& row);

// Sorts the visible list when asked to and shows both lists' changes to their views.
void SettlePlayersLists(ClientSession& session);

// The count label's caption before the number.
extern const QString NumberOfPlayersCaption;
