#include "app/WidgetPrompter.h"

#include <QMessageBox>

WidgetPrompter::WidgetPrompter(QWidget* parent) : parent_(parent) {}

void WidgetPrompter::information(const QString& title, const QString& text)
{
    QMessageBox::information(parent_, title, text);
}

bool WidgetPrompter::question(const QString& title, const QString& text)
{
    return QMessageBox::question(parent_, title, text, QMessageBox::Yes | QMessageBox::No)
        == QMessageBox::Yes;
}
