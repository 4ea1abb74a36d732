#include "app/TFTabulon.h"
#include "app/UnixSignals.h"
#include "protocol/StateJson.h"

#include "app/AppFolder.h"

#include <QApplication>
#include <QDateTime>
#include <QStandardPaths>
#include <cstdio>

namespace {
// A diagnostic for the start-up benchmark (TABULON_FIRST_PAINT): once the main window's first
// frame is painted, prints "first paint <milliseconds since the epoch>" and quits.
class FirstPaintProbe : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            // Queued, so the rest of the frame is painted first.
            QMetaObject::invokeMethod(qApp, [] {
                std::printf("first paint %lld\n", QDateTime::currentMSecsSinceEpoch());
                std::fflush(stdout);
                QCoreApplication::quit();
            }, Qt::QueuedConnection);
        }
        return false;
    }
};
} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tabulon"));

    QString folderError;
    const QString appFolder = ChooseAppFolder(
        QCoreApplication::applicationDirPath(),
        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation), &folderError);
    if (!folderError.isEmpty())
        std::fprintf(stderr, "tabulon: no writable folder for the settings: %s\n",
                     qPrintable(folderError));

    // The main window also creates the debug window, which lives as long as it does.
    TFTabulon window(appFolder);
    UnixSignals unixSignals;
    // Ctrl+C or a kill closes the window the normal way, so the shut-down still runs.
    QObject::connect(&unixSignals, &UnixSignals::terminationRequested, &window,
                     &TFTabulon::CloseUnattended);
    FirstPaintProbe firstPaint;
    if (qEnvironmentVariableIsSet("TABULON_FIRST_PAINT"))
        window.installEventFilter(&firstPaint);
    window.show();
    const int code = app.exec();
    // A diagnostic for the end-to-end tests: the session's final state, memo included.
    const QString stateFile = qEnvironmentVariable("TABULON_STATE_FILE");
    if (!stateFile.isEmpty())
        WriteStateFile(window.session(), stateFile);
    return code;
}
