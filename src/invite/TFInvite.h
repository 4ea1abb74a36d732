#pragma once

#include "invite/WidgetStakes.h"

#include <QDialog>

#include <functional>

class ClientSession;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

// The arrows beside the match length: each click proposes the next value, which the window
// may refuse.
class TUpDown : public QWidget {
    Q_OBJECT
public:
    explicit TUpDown(QWidget* parent = nullptr);

    int Position() const { return position_; }
    void SetPosition(int position) { position_ = position; }
    // Proposes a value: the position follows only when Changing accepts it.
    void Propose(int value);
    std::function<bool(int)> Changing;

    QToolButton *Up, *Down;

private:
    int position_ = 0;
};

// "Invite": the match length for the player selected in the players list, his profile and
// what is at stake. Created for each use; its content lives in the session while it is open.
class TFInvite : public QDialog, public TStakesWidgets {
    Q_OBJECT
public:
    // The modal result of "AutoInvite" (the player is busy).
    static constexpr int AutoInviteResult = 2;

    explicit TFInvite(ClientSession& session, QWidget* parent = nullptr);

    QLineEdit* EMatchLength;
    TUpDown* UpDown;
    QLabel *Label1, *Label2;
    QPushButton *BInvite, *Button2;

    void done(int result) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void ShowContent();
    void BInviteClick();

    ClientSession& session_;
};
