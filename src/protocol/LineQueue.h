#pragma once

#include <QString>
#include <QStringList>

// The queue of received server lines (MBuffer). Its last entry is the open line: the text
// received after the last carriage return.
class LineQueue {
public:
    // Appends a received chunk, continuing the open line. A line feed right after a carriage
    // return is part of that line end, also when the two arrive in different chunks.
    void AppendToQueue(const QString& text);
    void clear() { Lines.clear(); }

    int count() const { return int(Lines.size()); }
    const QString& at(int i) const { return Lines.at(i); }
    bool isOpenLine(int i) const { return i == count() - 1; }

    QStringList Lines;

private:
    bool lastChunkEndedInCR_ = false;
};
