#pragma once

#include <QObject>
#include <QString>

// The caption of a label that the session writes and a widget follows.
class LabelText : public QObject {
    Q_OBJECT
public:
    explicit LabelText(const QString& text, QObject* parent = nullptr)
        : QObject(parent), text_(text)
    {
    }

    const QString& text() const { return text_; }
    void setText(const QString& text)
    {
        if (text == text_)
            return;
        text_ = text;
        emit changed(text_);
    }

signals:
    void changed(const QString& text);

private:
    QString text_;
};
