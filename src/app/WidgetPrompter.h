#pragma once

#include "protocol/Ports.h"

#include <QPointer>
#include <QWidget>

// The session's message boxes as real dialogs over the main window.
class WidgetPrompter : public Prompter {
public:
    explicit WidgetPrompter(QWidget* parent = nullptr);

    void information(const QString& title, const QString& text) override;
    // Yes/No question; true for Yes.
    bool question(const QString& title, const QString& text) override;

private:
    QPointer<QWidget> parent_;
};
