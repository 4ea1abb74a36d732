#include "net/TTnCnx.h"

#include <QTcpSocket>
#include <QTimer>
#include <utility>

TTnCnx::TTnCnx(QObject* parent)
    : QObject(parent), socket_(new QTcpSocket(this)), readRetry_(new QTimer(this))
{
    readRetry_->setSingleShot(true);
    readRetry_->setInterval(ReadGateRetryMs);
    connect(readRetry_, &QTimer::timeout, this, &TTnCnx::onReadyRead);
    codec_.onData = [this](const QByteArray& data) { emit dataAvailable(data); };
    codec_.onSend = [this](const QByteArray& bytes) { Send(bytes); };
    codec_.onEndOfRecord = [this] { emit endOfRecord(); };
    codec_.onSendLoc = [this] { emit sendLoc(); };
    codec_.onTermType = [this] { emit termType(); };
    codec_.onLocalEcho = [this] { emit localEcho(); };

    connect(socket_, &QTcpSocket::connected, this, &TTnCnx::onConnected);
    connect(socket_, &QTcpSocket::readyRead, this, &TTnCnx::onReadyRead);
    connect(socket_, &QTcpSocket::errorOccurred, this, &TTnCnx::onErrorOccurred);
    connect(socket_, &QTcpSocket::disconnected, this, &TTnCnx::onDisconnected);
}

void TTnCnx::Connect()
{
    // A command just sent (the "bye" before a reconnect) leaves before the socket is replaced.
    if (socket_->state() == QAbstractSocket::ConnectedState)
        socket_->flush();
    Close();
    // A close still flushing its output would keep the socket from connecting again.
    if (socket_->state() != QAbstractSocket::UnconnectedState)
        socket_->abort();
    codec_.reset();
    closeError_ = 0;
    connecting_ = true;
    socket_->connectToHost(host_, port_.toUShort());
}

bool TTnCnx::IsConnected() const
{
    return socket_->state() == QAbstractSocket::ConnectedState;
}

void TTnCnx::Close()
{
    connecting_ = false;
    // A close during the name lookup or the connect would only be deferred until it ends.
    const QAbstractSocket::SocketState state = socket_->state();
    if (state == QAbstractSocket::HostLookupState || state == QAbstractSocket::ConnectingState)
        socket_->abort();
    else
        socket_->close();
}

int TTnCnx::Send(const QByteArray& data)
{
    if (!IsConnected())
        return -1;
    return int(socket_->write(data));
}

int TTnCnx::SendStr(const QByteArray& text)
{
    return Send(TelnetCodec::EscapeIac(text));
}

QString TTnCnx::lastErrorText() const
{
    return socket_->errorString();
}

quint16 TTnCnx::ErrorCode(QAbstractSocket::SocketError error)
{
    if (error == QAbstractSocket::UnknownSocketError)
        return 0xFFFF;
    return quint16(int(error) + 1);
}

void TTnCnx::onConnected()
{
    connecting_ = false;
    emit sessionConnected(0);
}

void TTnCnx::SetReadGate(std::function<bool()> gate)
{
    readGate_ = std::move(gate);
    // Unread bytes beyond this stay with the system, which then slows the server down.
    socket_->setReadBufferSize(readGate_ ? GatedBufferSize : 0);
}

void TTnCnx::onReadyRead()
{
    char buffer[ReadSize];
    // A handler may close the socket; a closed socket reads -1 and ends the loop.
    while (socket_->bytesAvailable() > 0) {
        if (readGate_ && !readGate_()) {
            // No new readyRead comes while the socket's buffer stays full: ask again later.
            readRetry_->start();
            return;
        }
        const qint64 count = socket_->read(buffer, ReadSize);
        if (count <= 0)
            return;
        codec_.feed(buffer, int(count));
    }
}

void TTnCnx::onErrorOccurred(QAbstractSocket::SocketError error)
{
    const quint16 code = ErrorCode(error);
    if (connecting_) {
        connecting_ = false;
        emit sessionConnected(code);
        return;
    }
    if (error == QAbstractSocket::RemoteHostClosedError) {
        emit display(QStringLiteral("\r\n**** Remote has closed ****\r\n"));
        return;
    }
    closeError_ = code;
    emit display(QStringLiteral("\r\n**** ERROR: %1 ****\r\n").arg(code));
}

void TTnCnx::onDisconnected()
{
    emit sessionClosed(std::exchange(closeError_, 0));
}
