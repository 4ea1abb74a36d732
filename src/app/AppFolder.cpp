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

bool SeedUserFolder(const QString& programFolder, const QString& userFolder, QString* error)
{
    if (!QDir().mkpath(userFolder)) {
        if (error)
            *error = QStringLiteral("cannot create %1").arg(userFolder);
        return false;
    }
    for (const QString& entry : ShippedDataEntries()) {
        const QString source = QDir(programFolder).filePath(entry);
        const QString target = QDir(userFolder).filePath(entry);
        if (!QFileInfo::exists(source) || QFileInfo::exists(target))
            continue;
        // Copied under a temporary name and renamed, so a start cut short never leaves half a
        // theme folder that later starts would take as complete.
        const QString partial = target + QStringLiteral(".partial");
        QDir(partial).removeRecursively();
        QFile::remove(partial);
        if (!copyEntry(source, partial, error))
            return false;
        if (!QDir().rename(partial, target)) {
            if (error)
                *error = QStringLiteral("cannot rename %1 to %2").arg(partial, target);
            return false;
        }
    }
    return true;
}

QString ChooseAppFolder(const QString& programFolder, const QString& userFolder, QString* error)
{
    const QFileInfo program(programFolder);
    if (program.isDir() && program.isWritable())
        return programFolder;
    return SeedUserFolder(programFolder, userFolder, error) ? userFolder : programFolder;
}
