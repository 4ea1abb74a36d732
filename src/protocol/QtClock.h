#pragma once

#include "protocol/Ports.h"

#include <QElapsedTimer>
#include <QObject>

// The real clock: one-shot QTimers on the calling thread's event loop.
class QtClock : public QObject, public Clock {
    Q_OBJECT
public:
    explicit QtClock(QObject* parent = nullptr);
    qint64 now() const override;
    void after(int ms, std::function<void()> fn) override;

private:
    QElapsedTimer elapsed_;
};
