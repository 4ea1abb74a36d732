#pragma once

#include <QByteArray>
#include <QString>

class ClientSession;

// The user's actions a transcript can ask for: "!select COL ROW", "!game N", "!click NAME",
// "!select-player NAME", "!mouse down|move|up X Y [left|right]" and "!invite LENGTH".
bool IsUserAction(const QByteArray& line);
// Runs one; false with the reason when the line is malformed or names no control.
bool RunUserAction(ClientSession& session, const QByteArray& line, QString* error);
