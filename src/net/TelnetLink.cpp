#include "net/TelnetLink.h"

#include "net/TTnCnx.h"

TelnetLink::TelnetLink(QObject* parent) : QObject(parent), cnx_(new TTnCnx(this))
{
    connect(cnx_, &TTnCnx::sessionConnected, this, [this](quint16 error) {
        emit sessionConnected(error, error == 0 ? QString() : cnx_->lastErrorText());
    });
    connect(cnx_, &TTnCnx::sessionClosed, this,
            [this](quint16 error) { emit sessionClosed(error); });
    connect(cnx_, &TTnCnx::dataAvailable, this, &TelnetLink::dataAvailable);
}

bool TelnetLink::connectTo(const QString& host, const QString& port, QString* error)
{
    const QString trimmedHost = host.trimmed();
    bool numeric = false;
    const int portNumber = port.trimmed().toInt(&numeric);
    QString reason;
    if (trimmedHost.isEmpty())
        reason = QStringLiteral("No server host name given.");
    else if (!numeric || portNumber < 1 || portNumber > 65535)
        reason = QStringLiteral("The port \"%1\" is not a number from 1 to 65535.").arg(port);
    if (!reason.isEmpty()) {
        if (error)
            *error = reason;
        return false;
    }
    cnx_->setHost(trimmedHost);
    cnx_->setPort(QString::number(portNumber));
    cnx_->Connect();
    return true;
}

void TelnetLink::close()
{
    cnx_->Close();
}

bool TelnetLink::isConnected() const
{
    return cnx_->IsConnected();
}

void TelnetLink::send(const QByteArray& bytes)
{
    cnx_->SendStr(bytes);
}
