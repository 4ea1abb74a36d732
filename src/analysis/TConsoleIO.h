#pragma once

#include <QByteArray>
#include <QObject>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <functional>

enum TSplitMode { smNone, sm0D0A, smSplitchar };

// Runs a console program with its three standard streams on pipes, sends it command lines and
// delivers what it prints, cut into lines, on the thread that owns the component. QProcess
// reads on that thread, so chunks, errors and the end notice arrive one at a time and in order.
class TConsoleIO : public QObject {
    Q_OBJECT
public:
    // Reads are cut into chunks of at most this many bytes; longer lines are assembled.
    static constexpr int ChunkSize = 1025;

    explicit TConsoleIO(QObject* parent = nullptr);
    ~TConsoleIO() override;

    QString TerminateCommand = QStringLiteral("quit");
    bool EnableKill = false;
    unsigned WaitTimeout = 1000;
    bool StopProcessOnFree = true;
    TSplitMode SplitMode = sm0D0A;
    char SplitChar = '\n';
    bool SplitReceive = true;
    bool SplitSend = true;
    // With smSplitchar on line feeds, a carriage return ending a line is dropped too, so
    // programs that end their lines either way give the same lines.
    bool DropTrailingCR = false;

    std::function<void(TConsoleIO* sender, const QString& cmd)> OnReceiveOutput;
    std::function<void(TConsoleIO* sender, const QString& cmd)> OnReceiveError;
    std::function<void(TConsoleIO* sender, const QString& text)> OnError;
    std::function<void(TConsoleIO* sender, bool isRunning)> OnProcessStatusChange;

    bool IsRunning() const { return running_; }
    // Exit code of the child that ended last (-1 when it crashed or never started).
    int ExitCode() const { return exitCode_; }

    // Starts the child. An empty directory keeps the current one. False with the system's
    // message when the program cannot be started; a failure found later comes through
    // OnError and the end notice.
    bool Start(const QString& program, const QStringList& arguments, const QString& directory,
               bool visible, QString* error = nullptr);
    // Writes text and the line end in one write; false with a message when no child runs.
    bool SendLine(const QString& text, QString* error = nullptr);
    // Asks the child to end with TerminateCommand; with EnableKill, kills it (exit code 4)
    // when it has not ended WaitTimeout ms later. The end itself is reported by the watcher.
    void Stop();

private:
    void readOutput();
    void readErrors();
    void outputChunk(const QByteArray& chunk);
    void processEnded();
    QByteArray lineEnd() const;

    QProcess* process_ = nullptr;
    bool running_ = false;
    int exitCode_ = -1;
    QByteArray buffer_;
};
