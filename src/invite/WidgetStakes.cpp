#include "invite/WidgetStakes.h"

#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

QLabel* PlainLabel(QWidget* parent, const char* name)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::PlainText);
    return label;
}

TStakesWidgets MakeStakesWidgets(QWidget* parent)
{
    TStakesWidgets w;
    w.Memo1 = new QPlainTextEdit(parent);
    w.Memo1->setObjectName(QStringLiteral("Memo1"));
    w.Memo1->setReadOnly(true);
    w.Memo1->setFixedHeight(110);

    w.GroupBox1 = new QGroupBox(QStringLiteral("Probabilities"), parent);
    w.GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    w.LProb = PlainLabel(w.GroupBox1, "LProb");
    w.LWin = PlainLabel(w.GroupBox1, "LWin");
    w.LLose = PlainLabel(w.GroupBox1, "LLose");
    auto* stakes = new QVBoxLayout(w.GroupBox1);
    for (QLabel* label : {w.LProb, w.LWin, w.LLose})
        stakes->addWidget(label);
    return w;
}
