#include "invite/TFAutoInvite.h"

#include "invite/Invitations.h"
#include "protocol/ClientSession.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTreeView>
#include <QVBoxLayout>

TFAutoInvite::TFAutoInvite(ClientSession& session, QWidget* parent)
    : QDialog(parent), session_(session)
{
    setObjectName(QStringLiteral("FAutoInvite"));
    setWindowTitle(QStringLiteral("AutoInvite"));
    setModal(true);

    LVAutoInvite = new QTreeView(this);
    LVAutoInvite->setObjectName(QStringLiteral("LVAutoInvite"));
    LVAutoInvite->setRootIsDecorated(false);
    LVAutoInvite->setUniformRowHeights(true);
    LVAutoInvite->setAllColumnsShowFocus(true);
    LVAutoInvite->setSelectionBehavior(QAbstractItemView::SelectRows);
    LVAutoInvite->setSelectionMode(QAbstractItemView::SingleSelection);
    LVAutoInvite->setEditTriggers(QAbstractItemView::NoEditTriggers);
    rows_ = new QStandardItemModel(0, 2, LVAutoInvite);
    rows_->setHorizontalHeaderLabels({QStringLiteral("Opponent name"), QStringLiteral("Match length")});
    LVAutoInvite->setModel(rows_);
    LVAutoInvite->header()->resizeSection(0, 160);
    for (qsizetype i = 0; i < session_.AutoInviteNames.size(); ++i)
        rows_->appendRow({new QStandardItem(session_.AutoInviteNames.at(i)),
                          new QStandardItem(session_.AutoInviteLengths.value(i))});

    BDelete = new QPushButton(QStringLiteral("Delete"), this);
    BDelete->setObjectName(QStringLiteral("BDelete"));
    Bok = new QPushButton(QStringLiteral("Done"), this);
    Bok->setObjectName(QStringLiteral("Bok"));
    Bok->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(BDelete);
    buttons->addStretch(1);
    buttons->addWidget(Bok);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(LVAutoInvite, 1);
    layout->addLayout(buttons);
    resize(320, 240);

    connect(BDelete, &QPushButton::clicked, this, &TFAutoInvite::BDeleteClick);
    connect(Bok, &QPushButton::clicked, this, &QDialog::accept);
}

void TFAutoInvite::BDeleteClick()
{
    const QModelIndexList selected = LVAutoInvite->selectionModel()->selectedRows();
    if (selected.isEmpty())
        return;
    const int row = selected.first().row();
    AutoInviteDelete(session_, row);
    rows_->removeRow(row);
}
