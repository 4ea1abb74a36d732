#pragma once

// A throw-away program folder for the benchmarks that run the whole program: the shipped data
// found beside this binary and a settings file under which nothing starts by itself.
#include "app/AppFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace bench {

// Fills folder; false with a reason when the data is missing or cannot be copied.
inline bool makeProgramFolder(const QTemporaryDir& folder, QString* error)
{
    const QString from = QCoreApplication::applicationDirPath();
    if (!QFileInfo(QDir(from).filePath(QStringLiteral("Themes"))).isDir()) {
        *error = QStringLiteral("no shipped data beside %1: build the tabulon target too").arg(from);
        return false;
    }
    if (!folder.isValid()) {
        *error = QStringLiteral("no temporary folder: %1").arg(folder.errorString());
        return false;
    }
    if (!CopyShippedData(from, folder.path(), error))
        return false;
    QFile ini(folder.filePath(QStringLiteral("tabulon.ini")));
    if (!ini.open(QIODevice::WriteOnly)
        || ini.write("[Settings]\nAutologin=0\nEnableSound=0\nDebug=0\n") < 0) {
        *error = QStringLiteral("cannot write %1").arg(ini.fileName());
        return false;
    }
    return true;
}

} // namespace bench
