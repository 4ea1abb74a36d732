#pragma once

#include <QObject>
#include <deque>
#include <functional>

class Clock;

// Runs actions in order, each after its own pause, without ever blocking: the fixed waits
// between the commands of a sequence become timers. An action queued behind a pause waits
// for it, so the server receives commands in the order they were issued.
class PacedSender : public QObject {
    Q_OBJECT
public:
    explicit PacedSender(Clock* clock, QObject* parent = nullptr);

    void enqueue(int pauseMs, std::function<void()> action);
    bool idle() const { return !waiting_ && items_.empty(); }

private:
    struct Item {
        int pauseMs;
        std::function<void()> action;
    };
    void run();

    Clock* clock_;
    std::deque<Item> items_;
    bool waiting_ = false;
    bool running_ = false;
};
