#pragma once

#include <QDialog>

#include <functional>

class ClientSession;
class QPushButton;
class QStandardItemModel;
class QTreeView;

// "Saved games": the matches the server keeps for the user, with the opponents' status; shows
// a saved position or invites the opponent to resume. Created for each use.
class TFSavedgames : public QDialog {
    Q_OBJECT
public:
    // showBoard brings the main window's board page to the front.
    TFSavedgames(ClientSession& session, std::function<void()> showBoard,
                 QWidget* parent = nullptr);

    QTreeView* LVSavedGames;
    QPushButton *BClose, *BShowPosition, *BInvite;

private:
    void FormShow();
    void LVSavedGamesSelectItem();
    void BShowPositionClick();
    void BInviteClick();
    QString selectedOpponent() const;

    ClientSession& session_;
    std::function<void()> showBoard_;
    QStandardItemModel* rows_;
};
