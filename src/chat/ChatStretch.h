#pragma once

#include <QString>

class ClientSession;

// The dispatcher row for tells, shouts, whispers, kibitzes, their echoes, stored messages and
// the notice that someone bans the user from watching.
void InstallChatStretch(ClientSession& session);

// The user's side of the chat tab and the messages window. Each sends only while connected;
// user text never carries a line break to the server.
// Enter in EShout.
void EShoutKeyDown(ClientSession& session, const QString& text);
// Enter in EKibitz: the selected CBPrivate entry is the command.
void EKibitzKeyDown(ClientSession& session, const QString& text);
// Players list > Tell: the selected player becomes the private input's addressee.
void Tell1Click(ClientSession& session);
// Players list > Send message: the write page, addressed to the selected player.
void Message2Click(ClientSession& session);
// View messages box, Players > Send message: the in box, friends offered as recipients.
void Showmessagesbox1Click(ClientSession& session);
// The messages window's Send button.
void BSendClick(ClientSession& session);
