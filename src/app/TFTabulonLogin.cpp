// The main window's Connect and Preferences commands and its toggle buttons.
#include "app/TFConnect.h"
#include "app/TFPreferences.h"
#include "app/TFTabulon.h"
#include "protocol/OwnInfoStretch.h"

#include <QAction>
#include <QToolButton>

void TFTabulon::bindLogin()
{
    connect(TBConnect, &QToolButton::clicked, this, &TFTabulon::TBConnectClick);
    connect(Connect1, &QAction::triggered, this, &TFTabulon::TBConnectClick);
    connect(&session_, &ClientSession::connectWindowWanted, this, &TFTabulon::TBConnectClick);
    connect(Preferences1, &QAction::triggered, this, &TFTabulon::Preferences1Click);

    const struct {
        QToolButton* button;
        QAction* menuItem;
        void (*handler)(ClientSession&);
    } toggles[] = {
        {TBReady, oggleready1, TBReadyClick},
        {TBAutomove, oggleautomove1, TBAutomoveClick},
        {TBGreedy, ogglegreedy1, TBGreedyClick},
        {TBDouble, oggledouble1, TBDoubleClick},
    };
    for (const auto& t : toggles) {
        QToolButton* button = t.button;
        const auto handler = t.handler;
        button->setCheckable(true);
        button->setChecked(session_.ToolButtons.pressed(button->objectName()));
        // A click flips the pressed state first; the menu item leaves it as it is.
        connect(button, &QToolButton::clicked, this, [this, button, handler](bool checked) {
            session_.ToolButtons.setPressed(button->objectName(), checked);
            handler(session_);
        });
        connect(t.menuItem, &QAction::triggered, this, [this, handler] { handler(session_); });
    }
    connect(&session_.ToolButtons, &ToolButtonStates::pressedChanged, this,
            [this](const QString& name, bool pressed) {
                if (auto* button = findChild<QToolButton*>(name))
                    button->setChecked(pressed);
            });
}

void TFTabulon::TBConnectClick()
{
    TFConnect window(session_, this);
    window.exec();
    ConnectWindowClosed(session_, window.Choice(), window.Values());
}

void TFTabulon::Preferences1Click()
{
    TFPreferences window(session_, this);
    if (window.exec() != QDialog::Accepted)
        return;
    window.ApplyOk();
    ApplyBoardTheme();
    ApplyFontSize();
}
