#include "protocol/LineQueue.h"

void LineQueue::AppendToQueue(const QString& text)
{
    if (text.isEmpty())
        return;
    if (Lines.isEmpty())
        Lines.append(QString());
    qsizetype pos = 0;
    if (lastChunkEndedInCR_ && text.at(0) == QChar('\n'))
        pos = 1;
    const qsizetype length = text.size();
    while (pos < length) {
        qsizetype end = text.indexOf(QChar('\r'), pos);
        if (end < 0)
            end = length;
        Lines.last().append(QStringView(text).mid(pos, end - pos));
        if (end < length)
            Lines.append(QString());
        pos = end + 1;
        if (pos < length && text.at(pos) == QChar('\n'))
            ++pos;
    }
    lastChunkEndedInCR_ = text.endsWith(QChar('\r'));
}
