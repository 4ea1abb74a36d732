#pragma once

#include <QFile>
#include <QList>
#include <QPair>
#include <QProcess>
#include <QString>
#include <QStringList>

inline QString readText(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readAll()) : QString();
}

// The FIBS simulator as a child process on a free port, with its log of received lines.
class Simulator {
public:
    // options: the simulator's own options; logPath: where it logs (empty: no log).
    explicit Simulator(const QStringList& options, const QString& logPath = QString())
        : log_(logPath)
    {
        QStringList arguments{QStringLiteral(TABULON_SOURCE_DIR "/tests/fibs-sim/fibs_sim.py"),
                              QStringLiteral("--port"), QStringLiteral("0")};
        if (!logPath.isEmpty())
            arguments << QStringLiteral("--log") << logPath;
        process_.setProgram(QStringLiteral("python3"));
        process_.setArguments(arguments + options);
        process_.start();
        if (process_.waitForReadyRead(10000)) {
            const QList<QByteArray> words = process_.readLine().trimmed().split(' ');
            if (words.size() == 2 && words.at(0) == "LISTENING")
                port_ = words.at(1).toInt();
        }
    }
    ~Simulator()
    {
        process_.terminate();
        if (!process_.waitForFinished(10000))
            process_.kill();
    }
    int port() const { return port_; }

    // "RECV <connection> <line>" entries: (connection, line) in the order received.
    QList<QPair<int, QString>> received() const
    {
        QList<QPair<int, QString>> lines;
        for (const QString& entry : readText(log_).split('\n')) {
            if (!entry.startsWith(QLatin1String("RECV ")))
                continue;
            const int blank = entry.indexOf(' ', 5);
            lines.append({entry.mid(5, blank - 5).toInt(), blank < 0 ? QString() : entry.mid(blank + 1)});
        }
        return lines;
    }
    QStringList receivedOn(int connection) const
    {
        QStringList lines;
        for (const auto& [id, line] : received())
            if (id == connection)
                lines << line;
        return lines;
    }
    // Whether any connection sent this line.
    bool saw(const QString& line) const
    {
        for (const auto& entry : received())
            if (entry.second == line)
                return true;
        return false;
    }

private:
    QString log_;
    QProcess process_;
    int port_ = 0;
};
