#pragma once

#include <QDialog>

class ClientSession;
class QComboBox;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QTreeView;

// The messages window: stored messages received, notices about messages sent, and a form
// for a new stored message. Created once with the main window; shown and hidden after that.
// A window of its own, outside the main window's tree of controls (its control names repeat
// some of the main window's), centred on `owner` when first shown.
class TFFibsMessage : public QDialog {
    Q_OBJECT
public:
    TFFibsMessage(ClientSession& session, QWidget* owner = nullptr);

    QTabWidget* PageControl1;
    QTreeView *LVInBox, *LVSend;
    QPlainTextEdit *MMessage, *MWriteMessage;
    QComboBox* CBRecipient;
    QPushButton *BSend, *BCancel;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void showPage(int page);

    ClientSession& session_;
    QWidget* owner_;
    bool placed_ = false;
};
