#include "protocol/PacedSender.h"

#include "protocol/Ports.h"

#include <QPointer>

PacedSender::PacedSender(Clock* clock, QObject* parent) : QObject(parent), clock_(clock) {}

void PacedSender::enqueue(int pauseMs, std::function<void()> action)
{
    items_.push_back({pauseMs, std::move(action)});
    run();
}

void PacedSender::run()
{
    // An action may queue more actions; they join the queue instead of nesting.
    if (waiting_ || running_)
        return;
    running_ = true;
    while (!items_.empty()) {
        Item& front = items_.front();
        if (front.pauseMs > 0) {
            const int pause = front.pauseMs;
            front.pauseMs = 0;
            waiting_ = true;
            QPointer<PacedSender> self(this);
            clock_->after(pause, [self] {
                if (!self)
                    return;
                self->waiting_ = false;
                self->run();
            });
            break;
        }
        auto action = std::move(front.action);
        items_.pop_front();
        action();
    }
    running_ = false;
}
