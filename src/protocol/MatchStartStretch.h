#pragma once

#include <QString>

class ClientSession;

// The dispatcher row for matches that begin, resume or are watched, and for invitations.
void InstallMatchStartStretch(ClientSession& session);

// The name of the players-list row the user selected; empty when none is.
QString SelectedPlayerName(const ClientSession& session);
// Selects the first LVPlayers row with that name, or none when no row has it.
void SelectPlayer(ClientSession& session, const QString& name);

// Players > Watch: watches the player selected in the players list.
void Watch1Click(ClientSession& session);
// Players > Unwatch.
void Unwatch1Click(ClientSession& session);
