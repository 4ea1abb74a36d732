#pragma once

#include <QJsonObject>

class ClientSession;

// The session's state as one JSON object: the records, the flags and the contents of the
// lists, grids and status bars, fields named as in the program. Used by the replay tool's
// STATE line; its shape is a public interface documented in the README.
QJsonObject SessionStateJson(const ClientSession& session);

// Writes the state with the system memo's lines added ("DisplayMemo"); false on failure.
bool WriteStateFile(const ClientSession& session, const QString& path);
