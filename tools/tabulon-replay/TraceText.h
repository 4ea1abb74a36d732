#pragma once

#include <QByteArray>
#include <QString>

// C-style escapes for the trace: \r \n \\ and \xNN for every other byte outside printable ASCII.
QByteArray EscapeTrace(const QByteArray& bytes);
// The reverse, for "!chunk" lines; unknown escapes keep their character.
QByteArray UnescapeTrace(const QByteArray& text);
