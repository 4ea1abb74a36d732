// Feeds a server transcript through a headless session and prints what the program does.
#include "TraceText.h"
#include "UserActions.h"

#include "app/AppFolder.h"
#include "protocol/ClientSession.h"
#include "protocol/RecordingPorts.h"
#include "protocol/StateJson.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace {

// How long the replay waits for the engine's answer to one request.
constexpr int EngineAnswerMs = 60000;

void trace(const char* kind, const QByteArray& text)
{
    std::fputs(kind, stdout);
    std::fputc(' ', stdout);
    std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
    std::fputc('\n', stdout);
}

QByteArray latin1(const QString& s)
{
    return EscapeTrace(s.toLatin1());
}

// The state as pure ASCII: characters past ASCII become JSON \u escapes.
QByteArray asciiJson(const QJsonObject& object)
{
    const QString text = QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
    QByteArray out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c.unicode() < 0x7f)
            out += char(c.unicode());
        else
            out += QByteArray("\\u") + QByteArray::number(c.unicode(), 16).rightJustified(4, '0');
    }
    return out;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tabulon-replay"));
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Feeds FILE to a headless session as received server data and traces "
                       "every effect."));
    parser.addHelpOption();
    const QCommandLineOption folderOption(QStringLiteral("app-folder"),
                                          QStringLiteral("Program folder to use as it is."),
                                          QStringLiteral("DIR"));
    const QCommandLineOption answerOption(QStringLiteral("answer"),
                                          QStringLiteral("Answer to every question (yes|no)."),
                                          QStringLiteral("yes|no"), QStringLiteral("yes"));
    const QCommandLineOption engineOption(
        QStringLiteral("engine"),
        QStringLiteral("Run GNU Backgammon and wait for its answer after each !select."));
    parser.addOption(folderOption);
    parser.addOption(answerOption);
    parser.addOption(engineOption);
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The transcript."));
    parser.process(app);
    if (parser.positionalArguments().size() != 1) {
        std::fputs("tabulon-replay: give exactly one FILE\n", stderr);
        return 2;
    }
    const QString answer = parser.value(answerOption);
    if (answer != QLatin1String("yes") && answer != QLatin1String("no")) {
        std::fputs("tabulon-replay: --answer takes yes or no\n", stderr);
        return 2;
    }
    QFile input(parser.positionalArguments().constFirst());
    if (!input.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "tabulon-replay: cannot read %s\n",
                     qPrintable(input.fileName()));
        return 2;
    }

    QTemporaryDir temporary;
    QString appFolder = parser.value(folderOption);
    if (appFolder.isEmpty()) {
        QString error;
        if (!temporary.isValid()
            || !CopyShippedData(QCoreApplication::applicationDirPath(), temporary.path(), &error)) {
            std::fprintf(stderr, "tabulon-replay: cannot prepare a program folder: %s\n",
                         qPrintable(error));
            return 2;
        }
        appFolder = temporary.path();
    }

    RecordingPorts rec;
    rec.prompter.answer = answer == QLatin1String("yes");
    rec.link.onSend = [](const QByteArray& bytes) { trace("SEND", EscapeTrace(bytes)); };
    rec.prompter.onBox = [](const QString& box) { trace("BOX", latin1(box)); };
    rec.sound.onPlay = [](const QString& file) { trace("SOUND", latin1(file)); };

    SessionPorts ports = rec.ports();
    ports.analysisEngine = parser.isSet(engineOption);
    ClientSession session(appFolder, ports);
    QObject::connect(&session.DisplayMemo, &TextLog::lineAdded, [&session](int index) {
        trace("MEMO", latin1(session.DisplayMemo.lines().at(index).text));
    });
    QObject::connect(&session.Status, &StatusBars::panelChanged,
                     [](const QString& bar, int panel, const QString& text) {
                         trace("STATUS", latin1(QStringLiteral("%1.%2 %3").arg(bar).arg(panel).arg(text)));
                     });

    session.FormCreate();
    if (rec.link.connected)
        session.idTelnetSessionConnected(0, QString());
    else
        rec.link.connected = true;
    rec.clock.runUntilIdle();

    // Time passes once the data fed so far ends in a line end: a "!chunk" that stops in the
    // middle of a line is followed at once by the next one, as one network read after another.
    auto feed = [&](const QByteArray& data) {
        session.IdTelnetDataAvailable(data);
        const bool lineOpen = session.MBuffer.count() > 0
            && !session.MBuffer.Lines.constLast().isEmpty();
        if (lineOpen)
            rec.clock.advance(0);
        else
            rec.clock.runUntilIdle();
    };

    while (!input.atEnd()) {
        QByteArray line = input.readLine();
        if (line.endsWith('\n'))
            line.chop(1);
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.startsWith('#'))
            continue;
        if (line.startsWith("!chunk ")) {
            feed(UnescapeTrace(line.mid(7)));
        } else if (line.startsWith("!wait ")) {
            bool ok = false;
            const int ms = line.mid(6).trimmed().toInt(&ok);
            if (!ok || ms < 0) {
                std::fprintf(stderr, "tabulon-replay: bad line: %s\n", line.constData());
                return 2;
            }
            rec.clock.advance(ms);
        } else if (IsUserAction(line)) {
            QString error;
            if (!RunUserAction(session, line, &error)) {
                std::fprintf(stderr, "tabulon-replay: %s: %s\n", qPrintable(error), line.constData());
                return 2;
            }
            if (ports.analysisEngine && session.Gnubg.PendingAnswers() > 0) {
                QEventLoop answered;
                QObject::connect(&session.Gnubg, &GnubgEngine::analysisReady, &answered,
                                 &QEventLoop::quit);
                QTimer::singleShot(EngineAnswerMs, &answered, &QEventLoop::quit);
                answered.exec();
            }
            rec.clock.runUntilIdle();
        } else {
            feed(line + "\r\n");
        }
    }
    rec.clock.runUntilIdle();
    trace("STATE", asciiJson(SessionStateJson(session)));
    std::fflush(stdout);
    return 0;
}
