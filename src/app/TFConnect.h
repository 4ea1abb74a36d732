#pragma once

#include "app/PreferencesStore.h"
#include "protocol/LoginStretch.h"

#include <QDialog>

class ClientSession;
class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;

// The Connect window: account, server and port. Whichever way it closes, what it shows is
// saved; it closes with Ok ("Connect"), Cancel or Yes ("Create account").
class TFConnect : public QDialog {
    Q_OBJECT
public:
    // The result of "Create account", beside Accepted (Connect) and Rejected (Cancel).
    static constexpr int Yes = 2;

    explicit TFConnect(ClientSession& session, QWidget* parent = nullptr);

    // How the window was closed, and what it held then.
    ConnectChoice Choice() const;
    TConnectValues Values() const;

    QGroupBox* GBAccount;
    QLineEdit* EUserName;
    QLineEdit* EPAssword;
    QGroupBox* GBConnection;
    QLineEdit* EServer;
    QLineEdit* EPort;
    QCheckBox* CBStorePassWord;
    QPushButton* BOk;
    QPushButton* BCancel;
    QPushButton* BCreateAccount;

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();
    void FormCloseQuery();
    void EUserNameChange();
    void EPAsswordChange();
    void enableButtons();

    ClientSession& session_;
};
