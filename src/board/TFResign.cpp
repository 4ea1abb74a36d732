#include "board/TFResign.h"

#include "protocol/ClientSession.h"
#include "protocol/GameCommands.h"

#include <QPushButton>
#include <QVBoxLayout>

TFResign::TFResign(ClientSession& session, QWidget* parent)
    : QDialog(parent), session_(session)
{
    setObjectName(QStringLiteral("FResign"));
    setWindowTitle(QStringLiteral("Resign"));
    setWindowFlags(windowFlags() | Qt::WindowStaysOnTopHint);
    auto* layout = new QVBoxLayout(this);
    const auto button = [this, layout](const char* name, const QString& caption) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        layout->addWidget(b);
        return b;
    };
    Button1 = button("Button1", QStringLiteral("Resign normal"));
    Button2 = button("Button2", QStringLiteral("Resign gammon"));
    Button3 = button("Button3", QStringLiteral("Resign backgammon"));
    Button4 = button("Button4", QStringLiteral("Cancel"));
    connect(Button1, &QPushButton::clicked, this, &TFResign::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TFResign::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TFResign::Button3Click);
    connect(Button4, &QPushButton::clicked, this, &TFResign::Button4Click);
}

void TFResign::resign(const char* level)
{
    ResignCommand(session_, QLatin1String(level));
    accept();
}

void TFResign::Button1Click()
{
    resign("normal");
}

void TFResign::Button2Click()
{
    resign("gammon");
}

void TFResign::Button3Click()
{
    resign("backgammon");
}

void TFResign::Button4Click()
{
    reject();
}
