#pragma once

#include <QColor>
#include <QObject>
#include <QString>
#include <QVector>

// A memo of coloured text lines: the system memo, the debug memo, the chat panes.
// Text appended without a line end stays in the open last line until its line end arrives.
// Only the newest lines are kept, so a server that never stops talking cannot use up the
// memory: past the limit the oldest lines go, and linesDropped tells the views.
class TextLog : public QObject {
    Q_OBJECT
public:
    struct Line {
        QString text;
        QColor colour;
    };

    static constexpr int DefaultMaxLines = 10000;

    explicit TextLog(QObject* parent = nullptr) : QObject(parent) {}

    // At least one line is kept.
    void setMaxLines(int count);
    int maxLines() const { return maxLines_; }

    // Adds a complete line.
    void addLine(const QString& text, const QColor& colour = QColor());
    // Appends text with the queue's line rule: each carriage return (with an optional line
    // feed after it) ends a line.
    void appendText(const QString& text, const QColor& colour = QColor());
    // Replaces the last complete line.
    void replaceLastLine(const QString& text, const QColor& colour);
    void clear();

    const QVector<Line>& lines() const { return lines_; }
    const QString& openLine() const { return open_; }
    QStringList texts() const;

signals:
    void lineAdded(int index);
    void lineChanged(int index);
    void openLineChanged();
    void cleared();
    // The oldest count lines were removed: every index after them moved down by count.
    void linesDropped(int count);

private:
    void dropOldest();

    QVector<Line> lines_;
    int maxLines_ = DefaultMaxLines;
    QString open_;
};
