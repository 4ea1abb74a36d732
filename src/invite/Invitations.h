#pragma once

#include <QJsonObject>
#include <QString>

class ClientSession;

// The server command that invites name to a match of length points: 0 resumes a saved match,
// 100 asks for an unlimited one.
QString InviteCommand(const QString& name, int length);

// Players > Invite: with a players-list row selected and the session connected, opens the
// invite window's content for that player, asks RepBot about him and fills the stakes for the
// starting length. False when there is nothing to show.
bool Invite1Click(ClientSession& session);
// The length selector proposes a value; one outside 0..100 is refused (false).
bool InviteUpDownChanging(ClientSession& session, int length);
// How the invite window was closed.
enum class InviteResult { Cancel, Invite, AutoInvite };
// Sends the invitation or keeps it for later, then closes the window's content.
void InviteFormClose(ClientSession& session, InviteResult result);

// Someone invites the user: fills the join window and shows it, while connected.
void ShowJoinWindow(ClientSession& session, const QString& line, const QString& name);
// The join window's "Join" and "Decline" buttons; both close it.
void JoinBOkClick(ClientSession& session);
void JoinButton2Click(ClientSession& session);
// The join window goes away without an answer.
void JoinFormClose(ClientSession& session);

// A who-info line shows name free: every auto-invite entry for him invites him again.
void CheckAutoInvite(ClientSession& session, const QString& name);
// The auto-invite window's "Delete" for row index (nothing for no row).
void AutoInviteDelete(ClientSession& session, int index);

// The join window's content, as the state file shows it.
QJsonObject JoinWindowJson(const ClientSession& session);
