#pragma once

#include "protocol/Ports.h"

#include <QStringList>
#include <functional>
#include <map>
#include <vector>

// Ports that record what the session does, for tests and the replay tool.

class VirtualClock : public Clock {
public:
    qint64 now() const override { return now_; }
    void after(int ms, std::function<void()> fn) override;
    // Runs the timers due by now + ms, in time order, moving the clock forward.
    void advance(qint64 ms);
    // Runs timers, moving the clock forward, until none is left.
    void runUntilIdle();
    bool idle() const { return timers_.empty(); }
    // How many timers have fired so far.
    qint64 timersRun() const { return timersRun_; }

private:
    bool runNext(qint64 limit);
    qint64 now_ = 0;
    qint64 sequence_ = 0;
    qint64 timersRun_ = 0;
    std::map<std::pair<qint64, qint64>, std::function<void()>> timers_;
};

class RecordingServerLink : public ServerLink {
public:
    bool connectTo(const QString& host, const QString& port, QString* error) override;
    void close() override { connected = false; }
    bool isConnected() const override { return connected; }
    void send(const QByteArray& bytes) override;

    bool connected = false;
    bool failConnect = false;
    QByteArray sent;
    std::function<void(const QByteArray&)> onSend;
};

class RecordingPrompter : public Prompter {
public:
    void information(const QString& title, const QString& text) override;
    bool question(const QString& title, const QString& text) override;

    bool answer = true;
    QStringList boxes; // "title | text"
    std::function<void(const QString&)> onBox;
};

class RecordingBoard : public BoardPort {
public:
    void drawPosition(const TPositions& position) override;
    void animateChecker(const TPositions& position, int from, int to,
                        std::function<void()> done) override;
    int draws = 0;
    QStringList animations; // "from-to"
};

class RecordingSound : public SoundPort {
public:
    void play(const QString& relativePath) override;
    QStringList played;
    std::function<void(const QString&)> onPlay;
};

// A full set of recording ports, connected and ready.
struct RecordingPorts {
    VirtualClock clock;
    RecordingServerLink link;
    RecordingPrompter prompter;
    RecordingBoard board;
    RecordingSound sound;
    SessionPorts ports() { return {&link, &prompter, &board, &sound, &clock}; }
};
