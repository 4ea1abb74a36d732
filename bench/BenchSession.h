#pragma once

#include "BenchClock.h"
#include "protocol/ClientSession.h"
#include "protocol/RecordingPorts.h"

// A connected headless session past its first data, its timers on a bench clock.
struct BenchSession {
    BenchSession() : session(QStringLiteral("/nonexistent"), ports())
    {
        rec.link.connected = true;
        session.FirstDataSeen = true;
    }

    RecordingPorts rec;
    BenchClock clock;
    ClientSession session;

private:
    SessionPorts ports()
    {
        SessionPorts p = rec.ports();
        p.clock = &clock;
        return p;
    }
};
