#pragma once

#include "protocol/Ports.h"

#include <QElapsedTimer>

#include <functional>
#include <vector>

// A clock that reads real time but runs its timers only when the benchmark drains them, so
// every tick can be timed on its own.
class BenchClock : public Clock {
public:
    BenchClock() { elapsed.start(); }
    qint64 now() const override { return elapsed.elapsed(); }
    void after(int, std::function<void()> fn) override { pending.push_back(std::move(fn)); }

    // Runs the pending timers until none is left; returns the longest one in nanoseconds.
    qint64 drain()
    {
        qint64 longest = 0;
        QElapsedTimer tick;
        while (!pending.empty()) {
            auto fns = std::move(pending);
            pending.clear();
            for (auto& fn : fns) {
                tick.start();
                fn();
                longest = std::max(longest, tick.nsecsElapsed());
            }
        }
        return longest;
    }

    QElapsedTimer elapsed;
    std::vector<std::function<void()>> pending;
};
