#pragma once

#include "model/TPositions.h"

#include <QByteArray>
#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QVector>

class ClientSession;

// Match files: the finished match, game by game and move by move, in the common ".mat"
// notation, written from the match record (Games) into the "Saved" folder beside the program.
//
// The match-end handler calls WriteMatchFileAtMatchEnd(session) once, before it clears
// Playing and Watching; everything else here is for it and for tests.

// At match end: writes the match file when the user played and SavePlayedMatches is set, or
// watched and SaveWatchedMatches is set. A failure only adds a line to DisplayMemo: the
// server lines keep flowing.
void WriteMatchFileAtMatchEnd(ClientSession& session);

// Writes the current match to AppFolder + "Saved/" (created when missing), atomically and never
// over an existing file, and stores the path in LastMatchFile. Returns the path written, or an
// empty string with the reason in `error`.
QString WriteMatchFile(ClientSession& session, QString* error);
QString WriteMatchFile(ClientSession& session, const QDateTime& endedAt, QString* error);

// "<date> <time><Player>_<Opponent>.mat": the locale's short date and long time (without the
// time zone; no time at exactly midnight), with every "/" and ":" made "_".
QString MatchFileName(const TPositions& current, const QDateTime& endedAt, const QLocale& locale);

// The file's bytes: single-byte text, CR LF line ends.
QByteArray MatchFileText(const QVector<TGames>& games, const TPositions& current);

// A point number from one side's numbering to the other's: "1".."24" become "24".."1"; any
// other text ("0", "25", "bar", "off", ...) is returned as it is.
QString FlipPoint(const QString& point);
