#include "protocol/TextLog.h"

#include <QStringList>

#include <algorithm>

void TextLog::setMaxLines(int count)
{
    maxLines_ = std::max(count, 1);
    dropOldest();
}

void TextLog::dropOldest()
{
    // Each added line was announced with its index first, so listeners never see a stale one.
    const int excess = int(lines_.size()) - maxLines_;
    if (excess <= 0)
        return;
    lines_.remove(0, excess);
    emit linesDropped(excess);
}

void TextLog::addLine(const QString& text, const QColor& colour)
{
    if (!open_.isEmpty()) {
        lines_.append({open_, colour});
        open_.clear();
        emit lineAdded(int(lines_.size()) - 1);
        emit openLineChanged();
    }
    lines_.append({text, colour});
    emit lineAdded(int(lines_.size()) - 1);
    dropOldest();
}

void TextLog::appendText(const QString& text, const QColor& colour)
{
    qsizetype pos = 0;
    const qsizetype length = text.size();
    while (pos < length) {
        qsizetype end = text.indexOf(QChar('\r'), pos);
        if (end < 0) {
            open_.append(QStringView(text).mid(pos));
            emit openLineChanged();
            break;
        }
        lines_.append({open_ + text.mid(pos, end - pos), colour});
        open_.clear();
        emit lineAdded(int(lines_.size()) - 1);
        pos = end + 1;
        if (pos < length && text.at(pos) == QChar('\n'))
            ++pos;
    }
    dropOldest();
}

void TextLog::replaceLastLine(const QString& text, const QColor& colour)
{
    if (lines_.isEmpty()) {
        addLine(text, colour);
        return;
    }
    lines_.last() = {text, colour};
    emit lineChanged(int(lines_.size()) - 1);
}

void TextLog::clear()
{
    lines_.clear();
    open_.clear();
    emit cleared();
}

QStringList TextLog::texts() const
{
    QStringList out;
    out.reserve(lines_.size());
    for (const Line& l : lines_)
        out.append(l.text);
    return out;
}
