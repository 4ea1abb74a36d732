#pragma once

#include "app/PreferencesStore.h"

#include <QDialog>

class ClientSession;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QTabWidget;
class WidgetBoardsPage;

// The Preferences window: program settings, own server settings, messages, board theme and
// profile. It only shows and reads its controls; ApplyOk runs the Ok path on the session.
class TFPreferences : public QDialog {
    Q_OBJECT
public:
    explicit TFPreferences(ClientSession& session, QWidget* parent = nullptr);

    // Fills every control from the settings and the last own information.
    void Fill();
    // What the controls hold now.
    TPreferencesValues Values() const;
    // The Ok path, once the window has closed with "Ok".
    void ApplyOk();

    QTabWidget* PageControl1;
    QWidget* General;
    QCheckBox *CBSound, *CBConfirmDoubles, *CBSaveWatched, *CBSavePlayed, *CBShowMessages,
        *CBAutologin, *CBHideShouts, *CBShowChatTab, *CBDebug;
    QComboBox* CBFontSize;
    QWidget* OwnInfoSheet;
    QCheckBox *CBAutodouble, *CBAutomove, *CBCrawford, *CBDouble, *CBGreedy, *CBReady,
        *CBSilent, *CBRatings;
    QWidget* TabSheet1;
    QLineEdit *EDecline, *Egreting, *EEndMessage;
    WidgetBoardsPage* TabSheet2;
    QWidget* TabSheet3;
    QLineEdit *EFirstName, *Elast;
    QGroupBox* RGGender; // a radio group: its items are the buttons of GenderItems
    QButtonGroup* GenderItems;
    QComboBox* CBCountries;
    QLineEdit* EEMail;
    QWidget* TabSheet4;
    QPushButton *BOk, *BCancel;

    void done(int result) override;

signals:
    // The board theme is to be applied again (Ok with the Board tab's settings written).
    void themeReloadWanted();

private:
    QWidget* buildGeneral();
    QWidget* buildOwnInfo();
    QWidget* buildMessages();
    QWidget* buildProfile();
    void FormClose();

    ClientSession& session_;
};
