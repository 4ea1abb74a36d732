// Arbitrary server bytes into a headless session on a real program folder: the line intake,
// every row of the dispatcher, the records, the match files and the state snapshot. The first
// byte sets the read size, so lines and telnet commands are split at every place.
//
// A session lives for a run of inputs, as a real one lives through many server lines; building
// one per input (theme pictures, off-screen boards) would leave no time for the lines.
#include "FuzzSupport.h"
#include "app/AppFolder.h"
#include "protocol/ClientSession.h"
#include "protocol/RecordingPorts.h"
#include "protocol/StateJson.h"

#include <QDir>

#include <algorithm>
#include <memory>

namespace {
constexpr int InputsPerSession = 1024;
constexpr int SnapshotEvery = 64;

QString appFolder;
std::unique_ptr<RecordingPorts> rec;
std::unique_ptr<ClientSession> session;
int inputsSeen = 0;

void freshSession()
{
    session.reset();
    rec = std::make_unique<RecordingPorts>();
    rec->link.connected = true;
    session = std::make_unique<ClientSession>(appFolder, rec->ports());
    session->FormCreate();
    // Match files and rating records would otherwise pile up over millions of runs.
    QDir(appFolder + QStringLiteral("/Saved")).removeRecursively();
    for (const QString& rat : QDir(appFolder).entryList({QStringLiteral("*.rat")}, QDir::Files))
        QFile::remove(appFolder + QLatin1Char('/') + rat);
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzInitApplication();
    appFolder = FuzzScratchFolder() + QStringLiteral("/app");
    QDir().mkpath(appFolder);
    QString error;
    CopyShippedData(QStringLiteral(TABULON_DATA_DIR), appFolder, &error);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    if (inputsSeen++ % InputsPerSession == 0)
        freshSession();
    const size_t piece = std::max<size_t>(1, data[0]);
    for (size_t at = 1; at < size; at += piece) {
        const size_t count = std::min(piece, size - at);
        session->IdTelnetDataAvailable(FuzzBytes(data + at, count));
        rec->clock.advance(5);
    }
    rec->clock.runUntilIdle();
    // The snapshot reads everything the session holds and costs more than the lines: take it
    // now and then, and always on the inputs that end a session.
    if (inputsSeen % SnapshotEvery == 0)
        SessionStateJson(*session);
    return 0;
}
