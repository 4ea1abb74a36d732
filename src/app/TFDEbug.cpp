#include "app/TFDEbug.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QVBoxLayout>

TextLogView::TextLogView(TextLog& log, QPlainTextEdit* memo)
    : QObject(memo), log_(log), memo_(memo)
{
    // A log only grows; an undo history of it would only eat memory.
    memo_->setUndoRedoEnabled(false);
    connect(&log_, &TextLog::lineAdded, this, &TextLogView::lineAdded);
    connect(&log_, &TextLog::lineChanged, this, &TextLogView::lineChanged);
    connect(&log_, &TextLog::openLineChanged, this, &TextLogView::openLineChanged);
    connect(&log_, &TextLog::cleared, this, &TextLogView::reload);
    connect(&log_, &TextLog::linesDropped, this, &TextLogView::linesDropped);
    reload();
}

QTextCharFormat TextLogView::format(const QColor& colour) const
{
    QTextCharFormat f;
    if (colour.isValid())
        f.setForeground(colour);
    return f;
}

bool TextLogView::atEnd() const
{
    const QScrollBar* bar = memo_->verticalScrollBar();
    return bar->value() >= bar->maximum();
}

void TextLogView::followEnd(bool wasAtEnd)
{
    // Keep showing the newest line unless the reader has scrolled back.
    if (wasAtEnd)
        memo_->verticalScrollBar()->setValue(memo_->verticalScrollBar()->maximum());
}

void TextLogView::appendBlock(const QString& text, const QColor& colour)
{
    QTextCursor cursor(memo_->document());
    cursor.movePosition(QTextCursor::End);
    if (blocks_ > 0)
        cursor.insertBlock(QTextBlockFormat(), format(colour));
    cursor.insertText(text, format(colour));
    ++blocks_;
}

void TextLogView::replaceBlock(int block, const QString& text, const QColor& colour)
{
    const QTextBlock b = memo_->document()->findBlockByNumber(block);
    if (!b.isValid())
        return;
    QTextCursor cursor(b);
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    cursor.insertText(text, format(colour));
}

void TextLogView::lineAdded(int index)
{
    const bool wasAtEnd = atEnd();
    const TextLog::Line& line = log_.lines().at(index);
    if (openShown_) {
        // The open line has just been completed: its block becomes the finished line.
        replaceBlock(blocks_ - 1, line.text, line.colour);
        openShown_ = false;
    } else {
        appendBlock(line.text, line.colour);
    }
    followEnd(wasAtEnd);
}

void TextLogView::lineChanged(int index)
{
    const TextLog::Line& line = log_.lines().at(index);
    replaceBlock(index, line.text, line.colour);
}

void TextLogView::openLineChanged()
{
    const bool wasAtEnd = atEnd();
    const QString& open = log_.openLine();
    if (open.isEmpty()) {
        if (openShown_) {
            QTextCursor cursor(memo_->document());
            cursor.movePosition(QTextCursor::End);
            cursor.movePosition(QTextCursor::StartOfBlock, QTextCursor::KeepAnchor);
            if (blocks_ > 1)
                cursor.movePosition(QTextCursor::PreviousCharacter, QTextCursor::KeepAnchor);
            cursor.removeSelectedText();
            --blocks_;
            openShown_ = false;
        }
        return;
    }
    if (openShown_) {
        replaceBlock(blocks_ - 1, open, QColor());
    } else {
        appendBlock(open, QColor());
        openShown_ = true;
    }
    followEnd(wasAtEnd);
}

void TextLogView::linesDropped(int count)
{
    // The blocks stay one per line: the first count go with their lines.
    if (count >= blocks_ - (openShown_ ? 1 : 0)) {
        reload();
        return;
    }
    const bool wasAtEnd = atEnd();
    QTextCursor cursor(memo_->document());
    cursor.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor, count);
    cursor.removeSelectedText();
    blocks_ -= count;
    followEnd(wasAtEnd);
}

void TextLogView::reload()
{
    memo_->clear();
    blocks_ = 0;
    openShown_ = false;
    for (const TextLog::Line& line : log_.lines())
        appendBlock(line.text, line.colour);
    if (!log_.openLine().isEmpty()) {
        appendBlock(log_.openLine(), QColor());
        openShown_ = true;
    }
    followEnd(true);
}

TFDEbug::TFDEbug(TextLog& log, QWidget* parent) : QWidget(parent, Qt::Tool)
{
    setObjectName(QStringLiteral("FDEbug"));
    setWindowTitle(QStringLiteral("Debug"));
    resize(560, 420);

    MDebug = new QPlainTextEdit(this);
    MDebug->setObjectName(QStringLiteral("MDebug"));
    MDebug->setReadOnly(true);
    MDebug->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    MDebug->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    MDebug->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    new TextLogView(log, MDebug);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(MDebug);
}
