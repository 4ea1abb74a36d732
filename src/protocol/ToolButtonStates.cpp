#include "protocol/ToolButtonStates.h"

bool* ToolButtonStates::field(const QString& name)
{
    if (name == QLatin1String("TBReady"))
        return &TBReady;
    if (name == QLatin1String("TBAutomove"))
        return &TBAutomove;
    if (name == QLatin1String("TBGreedy"))
        return &TBGreedy;
    if (name == QLatin1String("TBDouble"))
        return &TBDouble;
    return nullptr;
}

void ToolButtonStates::setPressed(const QString& name, bool pressed)
{
    bool* f = field(name);
    if (!f)
        return;
    const bool changed = *f != pressed;
    *f = pressed;
    if (changed)
        emit pressedChanged(name, pressed);
}

bool ToolButtonStates::pressed(const QString& name) const
{
    bool* f = const_cast<ToolButtonStates*>(this)->field(name);
    return f && *f;
}
