#include "records/TFSavedGames.h"

#include "protocol/ClientSession.h"
#include "records/SavedGames.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTreeView>
#include <QVBoxLayout>

TFSavedgames::TFSavedgames(ClientSession& session, std::function<void()> showBoard,
                           QWidget* parent)
    : QDialog(parent), session_(session), showBoard_(std::move(showBoard))
{
    setObjectName(QStringLiteral("FSavedgames"));
    setWindowTitle(QStringLiteral("Saved games"));
    setModal(true);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowCloseButtonHint);

    LVSavedGames = new QTreeView(this);
    LVSavedGames->setObjectName(QStringLiteral("LVSavedGames"));
    LVSavedGames->setRootIsDecorated(false);
    LVSavedGames->setUniformRowHeights(true);
    LVSavedGames->setAllColumnsShowFocus(true);
    LVSavedGames->setSelectionBehavior(QAbstractItemView::SelectRows);
    LVSavedGames->setSelectionMode(QAbstractItemView::SingleSelection);
    LVSavedGames->setEditTriggers(QAbstractItemView::NoEditTriggers);
    rows_ = new QStandardItemModel(0, 4, LVSavedGames);
    rows_->setHorizontalHeaderLabels({QStringLiteral("Opponents"), QStringLiteral("Length"),
                                      QStringLiteral("Score"), QStringLiteral("Status")});
    LVSavedGames->setModel(rows_);
    LVSavedGames->header()->resizeSection(0, 150);
    LVSavedGames->header()->resizeSection(1, 60);
    LVSavedGames->header()->resizeSection(2, 80);

    BClose = new QPushButton(QStringLiteral("Close"), this);
    BClose->setObjectName(QStringLiteral("BClose"));
    BShowPosition = new QPushButton(QStringLiteral("Show position"), this);
    BShowPosition->setObjectName(QStringLiteral("BShowPosition"));
    BInvite = new QPushButton(QStringLiteral("Invite"), this);
    BInvite->setObjectName(QStringLiteral("BInvite"));
    BInvite->setEnabled(false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(BShowPosition);
    buttons->addWidget(BInvite);
    buttons->addStretch(1);
    buttons->addWidget(BClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(LVSavedGames, 1);
    layout->addLayout(buttons);
    resize(420, 260);

    connect(BClose, &QPushButton::clicked, this, &QDialog::reject);
    connect(BShowPosition, &QPushButton::clicked, this, &TFSavedgames::BShowPositionClick);
    connect(BInvite, &QPushButton::clicked, this, &TFSavedgames::BInviteClick);
    connect(LVSavedGames->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &TFSavedgames::LVSavedGamesSelectItem);
    FormShow();
}

void TFSavedgames::FormShow()
{
    for (const TSavedgameRow& row : SavedGamesWindowRows(session_)) {
        QList<QStandardItem*> cells;
        for (const QString& text : {row.Opponent, row.Length, row.Score, row.Status})
            cells.append(new QStandardItem(text));
        rows_->appendRow(cells);
    }
}

QString TFSavedgames::selectedOpponent() const
{
    const QModelIndex current = LVSavedGames->currentIndex();
    if (!current.isValid() || !LVSavedGames->selectionModel()->isRowSelected(current.row(), {}))
        return QString();
    return rows_->item(current.row(), 0)->text();
}

void TFSavedgames::LVSavedGamesSelectItem()
{
    const QModelIndex current = LVSavedGames->currentIndex();
    BInvite->setEnabled(current.isValid()
                        && SavedGameInvitable(rows_->item(current.row(), 3)->text()));
}

void TFSavedgames::BShowPositionClick()
{
    const QString opponent = selectedOpponent();
    if (opponent.isEmpty() || !::BShowPositionClick(session_, opponent))
        return;
    if (showBoard_)
        showBoard_();
}

void TFSavedgames::BInviteClick()
{
    const QString opponent = selectedOpponent();
    if (opponent.isEmpty() || !::BInviteClick(session_, opponent))
        return;
    accept();
}
