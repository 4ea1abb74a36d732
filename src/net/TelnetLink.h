#pragma once

#include "protocol/Ports.h"

#include <QObject>

class TTnCnx;

// The session's server port over the real telnet connection.
class TelnetLink : public QObject, public ServerLink {
    Q_OBJECT
public:
    explicit TelnetLink(QObject* parent = nullptr);

    // Sets Host and Port and starts the asynchronous connect; false with a reason when the
    // attempt fails at once (an empty host, a port that is not a number from 1 to 65535).
    bool connectTo(const QString& host, const QString& port, QString* error) override;
    void close() override;
    bool isConnected() const override;
    void send(const QByteArray& bytes) override;

    TTnCnx& connection() { return *cnx_; }

signals:
    // OnSessionConnected: error 0 on success, else a non-zero code and a readable reason.
    void sessionConnected(int error, const QString& reason);
    void sessionClosed(int error);
    // OnDataAvailable: telnet commands already removed.
    void dataAvailable(const QByteArray& data);

private:
    TTnCnx* cnx_;
};
