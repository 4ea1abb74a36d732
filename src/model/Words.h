#pragma once

#include <QString>

// The n-th piece of a server line cut at a one-character delimiter, counted from 0.
// Runs of delimiters are not merged; "nil" stands for a piece that is not there.
// A delimiter longer than one character never matches.
QString GetWord(int n, const QString& text, const QString& delimiter);

// How many characters of the text equal c.
int CountChar(const QString& text, QChar c);
