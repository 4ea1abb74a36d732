#pragma once

#include "invite/WidgetStakes.h"

#include <QDialog>

class ClientSession;
class QLabel;
class QPushButton;

// "Join": someone's invitation with his profile, a saved-match warning and the stakes, to
// join or decline. One for the program's life, modeless; it follows the session's content.
class TFJoin : public QDialog, public TStakesWidgets {
    Q_OBJECT
public:
    // A window of its own (its controls' names repeat the main window's), shown centred on
    // owner when there is one.
    explicit TFJoin(ClientSession& session, QWidget* owner = nullptr);

    QLabel *Label1, *Label2, *Label3, *ESavedGames;
    QPushButton *BOk, *Button2;

    // Shows the window and brings it to the front.
    void ShowInFront();

    // Without a close box the invitation waits for an answer: Escape does not dismiss it.
    void reject() override {}

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void ShowContent();

    ClientSession& session_;
    QWidget* owner_;
};
