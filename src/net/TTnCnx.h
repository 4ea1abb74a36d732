#pragma once

#include "net/TelnetCodec.h"

#include <QAbstractSocket>
#include <QObject>
#include <QString>

#include <functional>

class QTcpSocket;
class QTimer;

// The telnet client connection: a TCP socket whose received bytes go through a TelnetCodec.
// It knows nothing of lines or of the FIBS protocol.
//
// Error codes in sessionConnected and sessionClosed are the socket's
// QAbstractSocket::SocketError value plus one (UnknownSocketError gives 65535), so 0 always
// means success.
class TTnCnx : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString Port READ Port WRITE setPort)
    Q_PROPERTY(QString Host READ Host WRITE setHost)
    Q_PROPERTY(QString Location READ Location WRITE setLocation)
    Q_PROPERTY(QString TermType READ TermType WRITE setTermType)
    Q_PROPERTY(bool LocalEcho READ LocalEcho WRITE setLocalEcho)
public:
    // Reads are at most this large; each is handed on separately.
    static constexpr int ReadSize = 2048;
    // With a read gate: what the socket holds before the rest waits in the system's buffers,
    // and how often a closed gate is asked again.
    static constexpr qint64 GatedBufferSize = 64 * 1024;
    static constexpr int ReadGateRetryMs = 20;

    explicit TTnCnx(QObject* parent = nullptr);

    QString Port() const { return port_; }
    void setPort(const QString& port) { port_ = port; }
    QString Host() const { return host_; }
    void setHost(const QString& host) { host_ = host; }
    QString Location() const { return QString::fromLatin1(codec_.Location); }
    void setLocation(const QString& location) { codec_.Location = location.toLatin1(); }
    QString TermType() const { return QString::fromLatin1(codec_.TermType); }
    void setTermType(const QString& termType) { codec_.TermType = termType.toLatin1(); }
    bool LocalEcho() const { return codec_.LocalEcho; }
    void setLocalEcho(bool localEcho) { codec_.LocalEcho = localEcho; }

    // Closes an open connection, then starts an asynchronous connect to Host:Port with a
    // fresh receive state; sessionConnected reports how it ended.
    void Connect();
    bool IsConnected() const;
    void Close();
    // The count written, or -1 when not connected.
    int Send(const QByteArray& data);
    // Send with every byte 255 doubled, so user text never becomes a telnet command.
    int SendStr(const QByteArray& text);

    // While gate returns false nothing more is read: a server that sends faster than the
    // program handles its lines is held back by TCP instead of filling this program's memory.
    void SetReadGate(std::function<bool()> gate);

    // The socket's description of its last error.
    QString lastErrorText() const;
    const TelnetCodec& codec() const { return codec_; }

    static quint16 ErrorCode(QAbstractSocket::SocketError error);

signals:
    void sessionConnected(quint16 error);
    void sessionClosed(quint16 error);
    void dataAvailable(const QByteArray& data);
    void display(const QString& text);
    void endOfRecord();
    void sendLoc();
    void termType();
    void localEcho();

private:
    void onConnected();
    void onReadyRead();
    void onErrorOccurred(QAbstractSocket::SocketError error);
    void onDisconnected();

    QTcpSocket* socket_;
    QTimer* readRetry_;
    std::function<bool()> readGate_;
    TelnetCodec codec_;
    QString port_ = QStringLiteral("23");
    QString host_;
    bool connecting_ = false;   // sessionConnected not yet emitted for the current attempt
    quint16 closeError_ = 0;    // what sessionClosed will report
};
