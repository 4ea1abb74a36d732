#include "protocol/QtClock.h"

#include <QTimer>

QtClock::QtClock(QObject* parent) : QObject(parent)
{
    elapsed_.start();
}

qint64 QtClock::now() const
{
    return elapsed_.elapsed();
}

void QtClock::after(int ms, std::function<void()> fn)
{
    QTimer::singleShot(ms, Qt::PreciseTimer, this, std::move(fn));
}
