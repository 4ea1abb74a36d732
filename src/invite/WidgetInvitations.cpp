#include "invite/WidgetInvitations.h"

#include "app/TFTabulon.h"
#include "invite/Invitations.h"
#include "invite/TFAutoInvite.h"
#include "invite/TFInvite.h"
#include "invite/TFJoin.h"

#include <QAction>
#include <QMenu>

void BindInvitations(TFTabulon& w)
{
    ClientSession& s = w.session();

    // The join window lives as long as the main window.
    auto* join = new TFJoin(s, &w);
    QObject::connect(&w, &QObject::destroyed, [join] { delete join; });
    QObject::connect(&s, &ClientSession::joinWindowWanted, join, &TFJoin::ShowInFront);

    auto* invite1 = new QAction(QStringLiteral("Invite"), w.PopupMenuPlayer);
    invite1->setObjectName(QStringLiteral("Invite1"));
    const QList<QAction*> popup = w.PopupMenuPlayer->actions();
    w.PopupMenuPlayer->insertAction(popup.isEmpty() ? nullptr : popup.first(), invite1);
    const auto invite = [&w, &s] {
        if (!Invite1Click(s))
            return;
        TFInvite window(s, &w);
        window.exec();
    };
    QObject::connect(invite1, &QAction::triggered, invite1, invite);
    QObject::connect(w.Invite2, &QAction::triggered, w.Invite2, invite);

    QObject::connect(w.ViewAutoInvite1, &QAction::triggered, w.ViewAutoInvite1, [&w, &s] {
        TFAutoInvite window(s, &w);
        window.exec();
    });
}
