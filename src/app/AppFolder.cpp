#include "app/AppFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

QStringList ShippedDataEntries()
{
    return {QStringLiteral("countriescodes.txt"), QStringLiteral("Themes"),
            QStringLiteral("Sounds"), QStringLiteral("Buttons"), QStringLiteral("GNUBG")};
}

namespace {
bool copyEntry(const QString& source, const QString& target, QString* error)
{
    const QFileInfo info(source);
    if (info.isFile()) {
        if (QFile::copy(source, target))
            return true;
        if (error)
            *error = QStringLiteral("cannot copy %1 to %2").arg(source, target);
        return false;
    }
    if (!QDir().mkpath(target)) {
        if (error)
            *error = QStringLiteral("cannot create %1").arg(target);
        return false;
    }
    const QDir dir(source);
    for (const QString& name : dir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)) {
        if (!copyEntry(dir.filePath(name), QDir(target).filePath(name), error))
            return false;
    }
    return true;
}
} // namespace

bool CopyShippedData(const QString& from, const QString& to, QString* error)
{
    for (const QString& entry : ShippedDataEntries()) {
        const QString source = QDir(from).filePath(entry);
        if (QFileInfo::exists(source) && !copyEntry(source, QDir(to).filePath(entry), error))
            return false;
    }
    return true;
}
