#pragma once

#include "protocol/TextLog.h"

#include <QWidget>

class QPlainTextEdit;
class QTextCharFormat;

// Keeps a memo in step with a TextLog: one text block per line, each in its line's colour
// (the memo's own colour when the line has none), and the open line as a last, unfinished
// block. Appends and replaces single blocks, so a log of many thousand lines stays cheap.
class TextLogView : public QObject {
public:
    TextLogView(TextLog& log, QPlainTextEdit* memo);

private:
    void lineAdded(int index);
    void lineChanged(int index);
    void openLineChanged();
    void linesDropped(int count);
    void reload();
    void appendBlock(const QString& text, const QColor& colour);
    void replaceBlock(int block, const QString& text, const QColor& colour);
    QTextCharFormat format(const QColor& colour) const;
    void followEnd(bool wasAtEnd);
    bool atEnd() const;

    TextLog& log_;
    QPlainTextEdit* memo_;
    int blocks_ = 0;          // blocks shown, the open line's included
    bool openShown_ = false;  // the last block is the open line
};

// The debug window: every received line and, in green, what was displayed of it.
class TFDEbug : public QWidget {
    Q_OBJECT
public:
    explicit TFDEbug(TextLog& log, QWidget* parent = nullptr);

    QPlainTextEdit* MDebug;
};
