#pragma once

#include <QDialog>

class ClientSession;
class QPushButton;
class QStandardItemModel;
class QTreeView;

// "AutoInvite": the players to invite as soon as they are free, with the match lengths; rows
// can be deleted. Created for each use.
class TFAutoInvite : public QDialog {
    Q_OBJECT
public:
    explicit TFAutoInvite(ClientSession& session, QWidget* parent = nullptr);

    QTreeView* LVAutoInvite;
    QPushButton *BDelete, *Bok;

private:
    void BDeleteClick();

    ClientSession& session_;
    QStandardItemModel* rows_;
};
