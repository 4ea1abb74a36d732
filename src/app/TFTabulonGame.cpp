#include "app/TFTabulon.h"

#include "board/TFResign.h"
#include "protocol/GameCommands.h"

#include <QAction>
#include <QToolButton>

void TFTabulon::TBResignClick()
{
    if (!session_.IsConnected())
        return;
    TFResign window(session_, this);
    // Centred on the main window.
    window.adjustSize();
    window.move(geometry().center() - window.rect().center());
    window.exec();
}

void TFTabulon::bindGameCommands()
{
    ClientSession& s = session_;
    const auto both = [this](QToolButton* button, QAction* item, auto command) {
        if (button)
            connect(button, &QToolButton::clicked, this, command);
        if (item)
            connect(item, &QAction::triggered, this, command);
    };
    both(TBRefreshBoard, nullptr, [&s] { TBRefreshBoardClick(s); });
    both(TBUndo, nullptr, [&s] { TBUndoClick(s); });
    both(TBAccept, Accrept1, [&s] { TBAcceptClick(s); });
    both(TBReject, Reject1, [&s] { TBRejectClick(s); });
    both(TBResign, Resign1, [this] { TBResignClick(); });
    both(nullptr, Roll1, [&s] { Roll1Click(s); });
    both(nullptr, Double1, [&s] { Double1Click(s); });
    both(nullptr, Leave1, [&s] { Leave1Click(s); });
    // The menu's "Refresh board" refreshes the players list.
    connect(Refreshboard1, &QAction::triggered, TBRefresh, &QToolButton::click);
}
