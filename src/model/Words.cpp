#include "model/Words.h"

QString GetWord(int n, const QString& text, const QString& delimiter)
{
    const QString nil = QStringLiteral("nil");
    if (n < 0 || delimiter.size() != 1)
        return nil;
    const QChar d = delimiter.at(0);
    // Position of the n-th delimiter (the piece starts after it), or -1 for the text start.
    qsizetype start = -1;
    for (int found = 0; found < n; ++found) {
        start = text.indexOf(d, start + 1);
        if (start < 0)
            return nil;
    }
    const qsizetype end = text.indexOf(d, start + 1);
    if (n == 0 && end < 0)
        return nil;
    return end < 0 ? text.mid(start + 1) : text.mid(start + 1, end - start - 1);
}

int CountChar(const QString& text, QChar c)
{
    return int(text.count(c));
}
