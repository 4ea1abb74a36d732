#include "FuzzSupport.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstdlib>

namespace {
QTemporaryDir* scratch = nullptr;
}

void FuzzInitApplication()
{
    if (QCoreApplication::instance())
        return;
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char name[] = "tabulon-fuzz";
    static char* argv[] = {name, nullptr};
    new QGuiApplication(argc, argv);
    // Files are rewritten millions of times: keep them in memory where the system allows.
    const QString shm = QStringLiteral("/dev/shm");
    scratch = QFileInfo(shm).isWritable() ? new QTemporaryDir(shm + QStringLiteral("/tabulon-fuzz-XXXXXX"))
                                          : new QTemporaryDir;
}

QString FuzzScratchFolder()
{
    return scratch->path();
}

QString FuzzWriteFile(const QString& name, const uint8_t* data, size_t size)
{
    const QString path = scratch->filePath(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(reinterpret_cast<const char*>(data), qint64(size));
    return path;
}
