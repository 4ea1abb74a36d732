#include "protocol/StatusBars.h"

StatusBars::StatusBars(QObject* parent) : QObject(parent)
{
    SBAdversaire[0] = QStringLiteral("Player2");
    SBJoueur[0] = QStringLiteral("Player1");
}

std::array<QString, StatusBars::PanelCount>* StatusBars::bar(const QString& name)
{
    if (name == QLatin1String("SBAdversaire"))
        return &SBAdversaire;
    if (name == QLatin1String("SBJoueur"))
        return &SBJoueur;
    return nullptr;
}

void StatusBars::setPanel(const QString& barName, int index, const QString& text)
{
    auto* panels = bar(barName);
    if (!panels || index < 0 || index >= PanelCount || (*panels)[std::size_t(index)] == text)
        return;
    (*panels)[std::size_t(index)] = text;
    emit panelChanged(barName, index, text);
}

QString StatusBars::panel(const QString& barName, int index) const
{
    auto* panels = const_cast<StatusBars*>(this)->bar(barName);
    if (!panels || index < 0 || index >= PanelCount)
        return {};
    return (*panels)[std::size_t(index)];
}
