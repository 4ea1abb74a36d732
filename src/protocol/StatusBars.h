#pragma once

#include <QObject>
#include <QString>
#include <array>

// The texts of the two status bars that frame the board: SBAdversaire above, SBJoueur below.
class StatusBars : public QObject {
    Q_OBJECT
public:
    static constexpr int PanelCount = 3;
    explicit StatusBars(QObject* parent = nullptr);

    void setPanel(const QString& bar, int panel, const QString& text);
    QString panel(const QString& bar, int panel) const;

    std::array<QString, PanelCount> SBAdversaire;
    std::array<QString, PanelCount> SBJoueur;

signals:
    void panelChanged(const QString& bar, int panel, const QString& text);

private:
    std::array<QString, PanelCount>* bar(const QString& name);
};
