#pragma once

#include <QObject>
#include <QString>

// The pressed states of the tool bar's four toggle buttons. The own-information line sets
// them; a click on a button flips its state before its handler runs.
class ToolButtonStates : public QObject {
    Q_OBJECT
public:
    explicit ToolButtonStates(QObject* parent = nullptr) : QObject(parent) {}

    bool TBReady = false;
    bool TBAutomove = false;
    bool TBGreedy = false;
    bool TBDouble = false;

    // name: "TBReady", "TBAutomove", "TBGreedy" or "TBDouble"; other names are ignored.
    void setPressed(const QString& name, bool pressed);
    bool pressed(const QString& name) const;

signals:
    void pressedChanged(const QString& name, bool pressed);

private:
    bool* field(const QString& name);
};
