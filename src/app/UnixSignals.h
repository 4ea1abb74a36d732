#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGINT and SIGTERM into a Qt signal delivered on the event loop (the self-pipe trick:
// the handler only writes the signal number into a socket pair), so the program can shut down
// the normal way. One instance at a time; its destruction restores the previous handlers.
class UnixSignals : public QObject {
    Q_OBJECT
public:
    explicit UnixSignals(QObject* parent = nullptr);
    ~UnixSignals() override;

signals:
    void terminationRequested(int signalNumber);

private:
    void readSignals();
    QSocketNotifier* notifier_ = nullptr;
};
