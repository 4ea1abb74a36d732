#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

struct TPositions;

// The session reaches the outside world only through these ports, so tests can replace them.

// The server connection.
class ServerLink {
public:
    virtual ~ServerLink() = default;
    // Starts an asynchronous connection; false with a reason when it fails at once.
    virtual bool connectTo(const QString& host, const QString& port, QString* error) = 0;
    virtual void close() = 0;
    virtual bool isConnected() const = 0;
    // Sends the bytes as given: no line end is added.
    virtual void send(const QByteArray& bytes) = 0;
};

// Message boxes and questions. Calls are synchronous: the line queue waits meanwhile.
class Prompter {
public:
    virtual ~Prompter() = default;
    virtual void information(const QString& title, const QString& text) = 0;
    virtual bool question(const QString& title, const QString& text) = 0;
};

// The drawn board.
class BoardPort {
public:
    virtual ~BoardPort() = default;
    virtual void drawPosition(const TPositions& position) = 0;
    // Slides one checker between two points (server numbering); done() runs once it has arrived.
    virtual void animateChecker(const TPositions& position, int from, int to,
                                std::function<void()> done) = 0;
};

// Game sounds, named by their path relative to the program folder ("Sounds\roll.wav").
class SoundPort {
public:
    virtual ~SoundPort() = default;
    virtual void play(const QString& relativePath) = 0;
};

// Time and one-shot timers. The session never waits: every pause is a timer.
class Clock {
public:
    virtual ~Clock() = default;
    virtual qint64 now() const = 0; // milliseconds, monotonic
    virtual void after(int ms, std::function<void()> fn) = 0;
};

struct SessionPorts {
    ServerLink* link = nullptr;
    Prompter* prompter = nullptr;
    BoardPort* board = nullptr;
    SoundPort* sound = nullptr;
    Clock* clock = nullptr;
    // Start GNU Backgammon beside the session: off where nothing is analysed.
    bool analysisEngine = false;
};
