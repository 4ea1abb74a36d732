#include "analysis/TConsoleIO.h"

#include <QFileInfo>
#include <QPointer>
#include <QStandardPaths>
#include <QTimer>

TConsoleIO::TConsoleIO(QObject* parent) : QObject(parent) {}

TConsoleIO::~TConsoleIO()
{
    if (StopProcessOnFree)
        Stop();
    if (process_) {
        // The child has had its terminate command; closing its input lets a program that
        // reads to the end of its input finish, and QProcess ends whatever is left.
        process_->disconnect(this);
        process_->closeWriteChannel();
    }
}

QByteArray TConsoleIO::lineEnd() const
{
    if (!SplitSend)
        return {};
    switch (SplitMode) {
    case sm0D0A:
        return QByteArrayLiteral("\r\n");
    case smSplitchar:
        return QByteArray(1, SplitChar);
    case smNone:
        break;
    }
    return {};
}

bool TConsoleIO::Start(const QString& program, const QStringList& arguments,
                       const QString& directory, bool visible, QString* error)
{
    Q_UNUSED(visible); // a console child here has no window of its own to show or hide
    if (running_) {
        if (error)
            *error = QStringLiteral("A process is already running");
        return false;
    }
    const QString found = program.contains(QLatin1Char('/'))
                              ? (QFileInfo(program).isExecutable() ? program : QString())
                              : QStandardPaths::findExecutable(program);
    if (found.isEmpty()) {
        if (error)
            *error = QStringLiteral("%1: No such file or directory").arg(program);
        return false;
    }
    if (process_)
        process_->deleteLater();
    process_ = new QProcess(this);
    buffer_.clear();
    if (!directory.isEmpty())
        process_->setWorkingDirectory(directory);
    QProcess* p = process_;
    connect(p, &QProcess::readyReadStandardOutput, this, [this, p] {
        if (p == process_)
            readOutput();
    });
    connect(p, &QProcess::readyReadStandardError, this, [this, p] {
        if (p == process_)
            readErrors();
    });
    connect(p, &QProcess::finished, this, [this, p] {
        if (p == process_)
            processEnded();
    });
    connect(p, &QProcess::errorOccurred, this, [this, p](QProcess::ProcessError e) {
        if (p != process_)
            return;
        if (e == QProcess::FailedToStart) {
            const QString text = p->errorString();
            if (OnError)
                OnError(this, text);
            processEnded();
        } else if (e == QProcess::ReadError && running_ && OnError) {
            OnError(this, p->errorString());
        }
    });
    p->start(found, arguments, QIODevice::ReadWrite);
    running_ = true;
    if (OnProcessStatusChange)
        OnProcessStatusChange(this, true);
    return true;
}

bool TConsoleIO::SendLine(const QString& text, QString* error)
{
    if (!running_ || !process_) {
        if (error)
            *error = QStringLiteral("The process is not running");
        return false;
    }
    const QByteArray bytes = text.toLocal8Bit() + lineEnd();
    if (process_->write(bytes) != bytes.size()) {
        if (error)
            *error = process_->errorString();
        return false;
    }
    return true;
}

void TConsoleIO::Stop()
{
    if (!running_)
        return;
    const bool asked = !TerminateCommand.isEmpty() && SendLine(TerminateCommand);
    if (!EnableKill)
        return;
    QPointer<QProcess> p = process_;
    const auto kill = [this, p] {
        if (p && p == process_ && running_)
            p->kill();
    };
    if (asked)
        QTimer::singleShot(int(WaitTimeout), this, kill);
    else
        kill();
}

void TConsoleIO::readOutput()
{
    for (;;) {
        const QByteArray chunk = process_->read(ChunkSize);
        if (chunk.isEmpty())
            return;
        outputChunk(chunk);
        if (!process_)
            return;
    }
}

void TConsoleIO::readErrors()
{
    process_->setReadChannel(QProcess::StandardError);
    const QByteArray chunk = process_->readAll();
    process_->setReadChannel(QProcess::StandardOutput);
    if (!chunk.isEmpty() && OnReceiveError)
        OnReceiveError(this, QString::fromLocal8Bit(chunk));
}

void TConsoleIO::outputChunk(const QByteArray& chunk)
{
    buffer_.append(chunk);
    if (!OnReceiveOutput)
        return;
    if (SplitReceive && SplitMode != smNone) {
        const QByteArray sep = SplitMode == sm0D0A ? QByteArrayLiteral("\r\n")
                                                   : QByteArray(1, SplitChar);
        qsizetype at;
        while ((at = buffer_.indexOf(sep)) >= 0) {
            QByteArray line = buffer_.left(at);
            buffer_.remove(0, at + sep.size());
            if (DropTrailingCR && SplitMode == smSplitchar && line.endsWith('\r'))
                line.chop(1);
            OnReceiveOutput(this, QString::fromLocal8Bit(line));
        }
    } else {
        const QByteArray all = buffer_;
        buffer_.clear();
        OnReceiveOutput(this, QString::fromLocal8Bit(all));
    }
}

void TConsoleIO::processEnded()
{
    if (!running_)
        return;
    if (process_)
        readOutput();
    if (process_)
        readErrors();
    exitCode_ = process_ && process_->exitStatus() == QProcess::NormalExit
                    && process_->error() != QProcess::FailedToStart
                    ? process_->exitCode()
                    : -1;
    const QByteArray rest = buffer_;
    buffer_.clear();
    if (OnReceiveOutput)
        OnReceiveOutput(this, QString::fromLocal8Bit(rest));
    running_ = false;
    if (OnProcessStatusChange)
        OnProcessStatusChange(this, false);
}
