#include "app/WidgetChatPage.h"

#include "app/TFDEbug.h"
#include "app/TFTabulon.h"
#include "chat/ChatStretch.h"
#include "chat/TFMessages.h"
#include "chat/WidgetChoiceList.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QTabWidget>

void BindChatPage(TFTabulon& w)
{
    ClientSession& s = w.session();
    new TextLogView(s.MPublicMessages, w.MPublicMessages);
    BindChoiceList(w.CBPrivate, s.CBPrivate);

    QObject::connect(w.EShout, &QLineEdit::returnPressed, w.EShout, [&w, &s] {
        EShoutKeyDown(s, w.EShout->text());
        w.EShout->clear();
    });
    QObject::connect(w.EKibitz, &QLineEdit::returnPressed, w.EKibitz, [&w, &s] {
        EKibitzKeyDown(s, w.EKibitz->text());
        w.EKibitz->clear();
    });
    QObject::connect(&s, &ClientSession::chatPageWanted, w.PageControl2,
                     [&w] { w.PageControl2->setCurrentWidget(w.TabSheet4); });

    QAction* message2 = w.PopupMenuPlayer->addAction(QStringLiteral("Send message"));
    message2->setObjectName(QStringLiteral("Message2"));
    QAction* tell1 = w.PopupMenuPlayer->addAction(QStringLiteral("Tell"));
    tell1->setObjectName(QStringLiteral("Tell1"));
    QObject::connect(message2, &QAction::triggered, message2, [&s] { Message2Click(s); });
    QObject::connect(tell1, &QAction::triggered, tell1, [&s] { Tell1Click(s); });
    for (QAction* action : {w.Message1, w.Showmessagesbox1})
        QObject::connect(action, &QAction::triggered, action, [&s] { Showmessagesbox1Click(s); });

    // The window goes with the main window's controls, while the session still exists.
    auto* messages = new TFFibsMessage(s, &w);
    QObject::connect(w.centralWidget(), &QObject::destroyed, [messages] { delete messages; });
}
